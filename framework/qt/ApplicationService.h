#pragma once

#include <QByteArray>
#include <QDBusAbstractAdaptor>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

// The program's org.freedesktop.Application object on the session bus, under its application id
// (the desktop entry's name): GNOME Shell calls it when the user clicks one of the program's
// notifications, with a launch token in the platform data.
class CApplicationService : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    // Gets the action's name ("" for the application itself) and the launch token.
    using Handler = std::function<void(const QString& action, const QByteArray& token)>;

    // Registers the object and takes the bus name; false where there is no bus or another
    // program has the name. The object lives as long as `owner`.
    static bool Register(QObject* owner, Handler handler);

public slots:
    void Activate(const QVariantMap& platformData);
    void ActivateAction(const QString& action, const QVariantList& parameter,
                        const QVariantMap& platformData);
    void Open(const QStringList& uris, const QString& hint, const QVariantMap& platformData);

private:
    CApplicationService(QObject* object, Handler handler);

    Handler m_handler;
};
