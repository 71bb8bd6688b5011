#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// One notification through GNOME Shell's own service (org.gtk.Notifications). Its clicks come
// back through the program's org.freedesktop.Application object, with the shell's launch token:
// GNOME's server of org.freedesktop.Notifications hands none.
class CShellNotification : public QObject {
public:
    CShellNotification(std::function<void(const QByteArray&)> onInvoked,
                       std::function<void()> onSecond);

    // The shell runs and has not refused the program; the application object is put on the bus
    // on the first call.
    bool IsUsable();
    // Shows the notification, or replaces the one that shows; `refused` is called when the
    // shell does not take it (it knows no desktop entry of the program's id).
    void Show(const QString& summary, const QString& body, const QString& actionLabel,
              const QString& secondLabel, std::function<void()> refused);
    void Withdraw();

private:
    void OnAction(const QString& action, const QByteArray& token);
    void Remove();

    std::function<void(const QByteArray&)> m_onInvoked;
    std::function<void()> m_onSecond;
    enum { SERVICE_UNTRIED, SERVICE_READY, SERVICE_REFUSED } m_service = SERVICE_UNTRIED;
    // Counts the requests to show and to withdraw: a refusal of an earlier one comes too late.
    unsigned m_request = 0;
    // Asked for by the last request; held by the shell.
    bool m_wanted = false;
    bool m_shown = false;
};
