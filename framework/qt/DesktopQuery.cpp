#include "DesktopQuery.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace {

// Long enough for a busy shell, short enough that a hung one does not freeze the window.
constexpr int kAnswerTimeoutMs = 500;

QVariant Ask(const QDBusConnection& bus, QDBusMessage message) {
    if (!bus.isConnected())
        return {};
    message.setAutoStartService(false);
    const QDBusMessage reply = bus.call(message, QDBus::Block, kAnswerTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant value = reply.arguments().constFirst();
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

} // namespace

QVariant AskDesktop(const QDBusConnection& bus, const QString& service, const QString& path,
                    const QString& interface, const QString& method) {
    return Ask(bus, QDBusMessage::createMethodCall(service, path, interface, method));
}

QVariant DesktopProperty(const QDBusConnection& bus, const QString& service, const QString& path,
                         const QString& interface, const QString& property) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << property;
    return Ask(bus, get);
}
