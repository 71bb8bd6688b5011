#include "ShellNotification.h"

#include "ApplicationService.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.gtk.Notifications");
// The one notification's id among the program's.
const QString kNotificationId = QStringLiteral("question-waiting");
const QString kAnswerAction = QStringLiteral("answer");
const QString kSecondAction = QStringLiteral("later");

QDBusMessage Call(const QString& method) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/org/gtk/Notifications"), kService, method);
    call << QGuiApplication::desktopFileName();
    return call;
}

QVariantMap Button(const QString& label, const QString& action) {
    return {{QStringLiteral("label"), label}, {QStringLiteral("action"), "app." + action}};
}

} // namespace

CShellNotification::CShellNotification(std::function<void(const QByteArray&)> onInvoked,
                                       std::function<void()> onSecond)
    : m_onInvoked(std::move(onInvoked)), m_onSecond(std::move(onSecond)) {}

bool CShellNotification::IsUsable() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kService))
        return false;
    if (m_service == SERVICE_UNTRIED)
        m_service = CApplicationService::Register(
                        this, [this](const QString& action,
                                     const QByteArray& token) { OnAction(action, token); })
                        ? SERVICE_READY
                        : SERVICE_REFUSED;
    return m_service == SERVICE_READY;
}

void CShellNotification::Show(const QString& summary, const QString& body,
                              const QString& actionLabel, const QString& secondLabel,
                              std::function<void()> refused) {
    const unsigned request = ++m_request;
    m_wanted = true;
    QDBusArgument buttons;
    buttons.beginArray(QMetaType::fromType<QVariantMap>());
    buttons << Button(actionLabel, kAnswerAction) << Button(secondLabel, kSecondAction);
    buttons.endArray();
    const QVariantMap notification{{QStringLiteral("title"), summary},
                                   {QStringLiteral("body"), body},
                                   {QStringLiteral("default-action"), "app." + kAnswerAction},
                                   {QStringLiteral("buttons"), QVariant::fromValue(buttons)},
                                   {QStringLiteral("priority"), QStringLiteral("normal")}};
    QDBusMessage add = Call(QStringLiteral("AddNotification"));
    add << kNotificationId << notification;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(add), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request, refused = std::move(refused)](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (call->isError()) {
                    m_service = SERVICE_REFUSED;
                    if (request == m_request)
                        refused();
                } else if (m_wanted) {
                    m_shown = true;
                } else {
                    Remove(); // withdrawn while the shell was still answering
                }
            });
}

void CShellNotification::Withdraw() {
    ++m_request;
    m_wanted = false;
    if (std::exchange(m_shown, false))
        Remove();
}

void CShellNotification::Remove() {
    QDBusMessage remove = Call(QStringLiteral("RemoveNotification"));
    remove << kNotificationId;
    QDBusConnection::sessionBus().call(remove, QDBus::NoBlock);
}

// The application itself, activated from the shell, is answered like the notification's click.
void CShellNotification::OnAction(const QString& action, const QByteArray& token) {
    if (action == kSecondAction) {
        m_onSecond();
        return;
    }
    if (action.isEmpty() || action == kAnswerAction)
        m_onInvoked(token);
}
