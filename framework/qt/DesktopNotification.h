#pragma once

#include "ShellNotification.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// One desktop notification at a time, with a default action and a second one: through GNOME
// Shell's own service where it takes it, else through the session's notification server
// (org.freedesktop.Notifications). Without a session bus or a server, nothing shows.
class CDesktopNotification : public QObject {
    Q_OBJECT

public:
    // onInvoked is called when the user invokes the default action, with the activation token
    // that the server handed over for it (empty from a server that sends none); onSecond when
    // the user picks the second action.
    CDesktopNotification(std::function<void(const QByteArray&)> onInvoked,
                         std::function<void()> onSecond);
    ~CDesktopNotification() override;

    // Shows the notification, or replaces the one that shows.
    void Show(const QString& summary, const QString& body, const QString& actionLabel,
              const QString& secondLabel);
    // Withdraws the notification, also one whose server has not answered yet.
    void Withdraw();

private slots:
    // The server's signals, for every notification on the bus.
    void OnActivationToken(uint id, const QString& token);
    void OnActionInvoked(uint id, const QString& action);
    void OnClosed(uint id, uint reason);

private:
    bool Connect();
    void ShowThroughServer(unsigned request, const QString& summary, const QString& body,
                           const QStringList& actions);
    void Notify(unsigned request, const QString& summary, const QString& body,
                const QStringList& actions, bool bodyMarkup);
    void Close(uint id);

    std::function<void(const QByteArray&)> m_onInvoked;
    std::function<void()> m_onSecond;
    uint m_id = 0;
    // Counts the requests to show and to withdraw; an answer to an earlier one comes too late.
    unsigned m_request = 0;
    bool m_connected = false;
    QByteArray m_token;
    CShellNotification m_shell;
};
