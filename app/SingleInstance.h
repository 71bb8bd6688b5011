#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>

#include <functional>

// One running copy per caption: a running copy listens on a local socket named after its
// caption and this user; a new start that reaches it asks it to come forward and ends.

// Asks the copy whose window carries this caption to come forward, handing it the launcher's
// activation token (XDG_ACTIVATION_TOKEN, else DESKTOP_STARTUP_ID); false when none answers.
bool BringRunningCopyForward(const QString& caption);

class CInstanceServer : public QObject {
public:
    // Called with the launcher's activation token, empty when the request carried none.
    explicit CInstanceServer(std::function<void(const QByteArray&)> onBringForward);
    // Listens under the caption, instead of any earlier one.
    void Listen(const QString& caption);

private:
    void Answer();

    QLocalServer m_server;
    std::function<void(const QByteArray&)> m_onBringForward;
};
