#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>

// A question to a desktop service on the bus, answered within a short time: the reply's first
// value, or an invalid QVariant where the service is absent, refuses or does not know the
// method. A service that is not running is not started for it.
QVariant AskDesktop(const QDBusConnection& bus, const QString& service, const QString& path,
                    const QString& interface, const QString& method);

// A property of a desktop service's object, asked the same way.
QVariant DesktopProperty(const QDBusConnection& bus, const QString& service, const QString& path,
                         const QString& interface, const QString& property);
