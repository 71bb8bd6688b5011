// GLib's headers first: they name members "signals", which Qt defines as a keyword.
#include <gio/gio.h>

#include "DoNotDisturb.h"

#include "DesktopQuery.h"
#include "X11Display.h"

#include <QtGlobal>

#include <cstdlib>

namespace {

// Calls `each` with every 32-bit value of a window's property.
template <typename Each>
void ForEachAtom(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                 Each each) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, false, window, property, XCB_ATOM_ANY, 0, 64),
        nullptr);
    if (!reply)
        return;
    if (reply->format == 32) {
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < count; ++i)
            each(values[i]);
    }
    std::free(reply);
}

bool IsFullScreenWindowActive() {
    const auto [connection, root] = CurrentX11Display();
    if (!connection || !root)
        return false;
    xcb_window_t active = XCB_WINDOW_NONE;
    ForEachAtom(connection, root, InternAtom(connection, "_NET_ACTIVE_WINDOW"),
                [&active](uint32_t window) {
                    if (active == XCB_WINDOW_NONE)
                        active = window;
                });
    if (active == XCB_WINDOW_NONE)
        return false;
    const xcb_atom_t fullScreen = InternAtom(connection, "_NET_WM_STATE_FULLSCREEN");
    bool found = false;
    ForEachAtom(connection, active, InternAtom(connection, "_NET_WM_STATE"),
                [&](uint32_t state) { found = found || state == fullScreen; });
    return found && fullScreen != XCB_ATOM_NONE;
}

bool IsSessionLocked() {
    const QDBusConnection session = QDBusConnection::sessionBus();
    const auto screenSaverActive = [&session](const QString& name, const QString& path) {
        return AskDesktop(session, name, path, name, QStringLiteral("GetActive")).toBool();
    };
    return screenSaverActive(QStringLiteral("org.freedesktop.ScreenSaver"),
                             QStringLiteral("/org/freedesktop/ScreenSaver")) ||
           screenSaverActive(QStringLiteral("org.gnome.ScreenSaver"),
                             QStringLiteral("/org/gnome/ScreenSaver")) ||
           DesktopProperty(QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1"),
                           QStringLiteral("/org/freedesktop/login1/session/auto"),
                           QStringLiteral("org.freedesktop.login1.Session"),
                           QStringLiteral("LockedHint"))
               .toBool();
}

bool AreBannersOffOnGnome() {
    if (!qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("GNOME")))
        return false;
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.notifications", true)
               : nullptr;
    if (!schema)
        return false;
    const bool known = g_settings_schema_has_key(schema, "show-banners");
    g_settings_schema_unref(schema);
    if (!known)
        return false;
    GSettings* settings = g_settings_new("org.gnome.desktop.notifications");
    const bool off = !g_settings_get_boolean(settings, "show-banners");
    g_object_unref(settings);
    return off;
}

bool AreNotificationsInhibited() {
    return DesktopProperty(
               QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.Notifications"),
               QStringLiteral("/org/freedesktop/Notifications"),
               QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Inhibited"))
               .toBool() ||
           AreBannersOffOnGnome();
}

} // namespace

bool IsInterruptionUnwelcome() {
    return IsFullScreenWindowActive() || IsSessionLocked() || AreNotificationsInhibited();
}
