#include "TrayHost.h"

#include "WindowActivation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

void WhenTrayHostReady(QObject* context, std::function<void()> ready) {
    if (!IsWaylandSession()) {
        ready();
        return;
    }
    const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (bus.interface()->isServiceRegistered(watcherName)) {
        ready();
        return;
    }
    auto* watcher = new QDBusServiceWatcher(watcherName, bus,
                                            QDBusServiceWatcher::WatchForRegistration, context);
    QObject::connect(watcher, &QDBusServiceWatcher::serviceRegistered, context,
                     [watcher, ready = std::move(ready)] {
                         watcher->deleteLater();
                         ready();
                     });
}
