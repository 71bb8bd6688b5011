#include "ApplicationService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>

namespace {

// The launch token that the shell hands over: an xdg-activation token, or a startup id.
QByteArray LaunchToken(const QVariantMap& platformData) {
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    return (token.isEmpty() ? platformData.value(QStringLiteral("desktop-startup-id")).toString()
                            : token)
        .toUtf8();
}

} // namespace

CApplicationService::CApplicationService(QObject* object, Handler handler)
    : QDBusAbstractAdaptor(object), m_handler(std::move(handler)) {}

bool CApplicationService::Register(QObject* owner, Handler handler) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString appId = QGuiApplication::desktopFileName();
    // The path that the shell derives from the id.
    const QString path = u'/' + QString(appId).replace(u'.', u'/').replace(u'-', u'_');
    auto* object = new QObject(owner);
    new CApplicationService(object, std::move(handler));
    if (bus.isConnected() && bus.registerObject(path, object)) {
        if (bus.interface()
                ->registerService(appId, QDBusConnectionInterface::DontQueueService)
                .value() == QDBusConnectionInterface::ServiceRegistered)
            return true;
        bus.unregisterObject(path);
    }
    delete object;
    return false;
}

void CApplicationService::Activate(const QVariantMap& platformData) {
    m_handler({}, LaunchToken(platformData));
}

void CApplicationService::ActivateAction(const QString& action, const QVariantList&,
                                         const QVariantMap& platformData) {
    m_handler(action, LaunchToken(platformData));
}

// No files are opened through the bus: as a start, it brings the program forward.
void CApplicationService::Open(const QStringList&, const QString&,
                               const QVariantMap& platformData) {
    m_handler({}, LaunchToken(platformData));
}
