#include "DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
const QString kSecondAction = QStringLiteral("second");
constexpr uint kUrgencyNormal = 1;

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

CDesktopNotification::CDesktopNotification(std::function<void(const QByteArray&)> onInvoked,
                                           std::function<void()> onSecond)
    : m_onInvoked(onInvoked), m_onSecond(onSecond), m_shell(onInvoked, onSecond) {}

CDesktopNotification::~CDesktopNotification() {
    Withdraw();
}

// QtDBus ties signals of the bus to slots by their names only.
bool CDesktopNotification::Connect() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!m_connected) {
        m_connected = bus.connect(kService, kPath, kInterface, QStringLiteral("ActivationToken"),
                                  this, SLOT(OnActivationToken(uint, QString))) &&
                      bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"),
                                  this, SLOT(OnActionInvoked(uint, QString))) &&
                      bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"),
                                  this, SLOT(OnClosed(uint, uint)));
    }
    return m_connected;
}

void CDesktopNotification::Show(const QString& summary, const QString& body,
                                const QString& actionLabel, const QString& secondLabel) {
    const unsigned request = ++m_request;
    const QStringList actions{kDefaultAction, actionLabel, kSecondAction, secondLabel};
    if (m_shell.IsUsable())
        m_shell.Show(summary, body, actionLabel, secondLabel, [=, this] {
            if (request == m_request)
                ShowThroughServer(request, summary, body, actions);
        });
    else
        ShowThroughServer(request, summary, body, actions);
}

void CDesktopNotification::ShowThroughServer(unsigned request, const QString& summary,
                                             const QString& body, const QStringList& actions) {
    if (!Connect())
        return;
    // A server that reads markup in the body gets the text escaped.
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(Call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request, summary, body, actions](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> capabilities = *call;
                if (capabilities.isError() || request != m_request)
                    return;
                Notify(request, summary, body, actions,
                       capabilities.value().contains(QStringLiteral("body-markup")));
            });
}

void CDesktopNotification::Notify(unsigned request, const QString& summary, const QString& body,
                                  const QStringList& actions, bool bodyMarkup) {
    const QString appId = QGuiApplication::desktopFileName();
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), appId);
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(static_cast<uchar>(kUrgencyNormal)));
    QDBusMessage notify = Call(QStringLiteral("Notify"));
    // It stays until it is used or withdrawn.
    notify << QGuiApplication::applicationDisplayName() << m_id << appId << summary
           << (bodyMarkup ? body.toHtmlEscaped() : body) << actions << hints << 0;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError())
                    return;
                // Withdrawn, or shown anew, while the server was still answering: the one that
                // a later request replaced stays.
                if (request == m_request)
                    m_id = reply.value();
                else if (reply.value() != m_id)
                    Close(reply.value());
            });
}

void CDesktopNotification::Withdraw() {
    ++m_request;
    m_token.clear();
    Close(std::exchange(m_id, 0u));
    m_shell.Withdraw();
}

void CDesktopNotification::Close(uint id) {
    if (id == 0)
        return;
    QDBusMessage close = Call(QStringLiteral("CloseNotification"));
    close << id;
    QDBusConnection::sessionBus().call(close, QDBus::NoBlock);
}

void CDesktopNotification::OnActivationToken(uint id, const QString& token) {
    if (id != 0 && id == m_id)
        m_token = token.toUtf8();
}

void CDesktopNotification::OnActionInvoked(uint id, const QString& action) {
    if (id == 0 || id != m_id)
        return;
    const QByteArray token = std::exchange(m_token, QByteArray());
    if (action == kDefaultAction)
        m_onInvoked(token);
    else if (action == kSecondAction)
        m_onSecond();
}

void CDesktopNotification::OnClosed(uint id, uint) {
    if (id != 0 && id == m_id) {
        m_id = 0;
        m_token.clear();
    }
}
