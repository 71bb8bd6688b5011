#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// One desktop notification at a time through the session's notification server
// (org.freedesktop.Notifications), with a default action. Without a session bus or a server,
// nothing shows.
class CDesktopNotification : public QObject {
    Q_OBJECT

public:
    // Called when the user invokes the default action, with the activation token that the server
    // handed over for it (empty from a server that sends none).
    explicit CDesktopNotification(std::function<void(const QByteArray&)> onInvoked);
    ~CDesktopNotification() override;

    // Shows the notification, or replaces the one that shows.
    void Show(const QString& summary, const QString& body, const QString& actionLabel);
    // Withdraws the notification, also one whose server has not answered yet.
    void Withdraw();

private slots:
    // The server's signals, for every notification on the bus.
    void OnActivationToken(uint id, const QString& token);
    void OnActionInvoked(uint id, const QString& action);
    void OnClosed(uint id, uint reason);

private:
    bool Connect();
    void Notify(unsigned request, const QString& summary, const QString& body,
                const QString& actionLabel, bool bodyMarkup);
    void Close(uint id);

    std::function<void(const QByteArray&)> m_onInvoked;
    uint m_id = 0;
    // Counts the requests to show and to withdraw; an answer to an earlier one comes too late.
    unsigned m_request = 0;
    bool m_connected = false;
    QByteArray m_token;
};
