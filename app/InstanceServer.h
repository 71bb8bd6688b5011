#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <list>
#include <memory>

// Takes the requests of later starts on the session's socket. A request from this user brings
// the copy forward; a connection of another user, one that sends anything else and one that
// stays idle are closed, and only a few are held at once, the oldest closed first.
class CInstanceServer : public QObject {
public:
    // The listener stays the caller's; the call gets the request's activation token.
    CInstanceServer(int listener, std::function<void(const QByteArray&)> onBringForward);
    ~CInstanceServer() override;

private:
    struct Connection;

    void Accept();
    void Read(Connection* connection);
    void Close(Connection* connection);

    QSocketNotifier m_acceptor;
    std::list<std::unique_ptr<Connection>> m_connections; // oldest first
    std::function<void(const QByteArray&)> m_onBringForward;
};
