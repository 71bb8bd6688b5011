#include "UserIdle.h"

#include "DesktopQuery.h"
#include "X11Display.h"

#include <xcb/screensaver.h>

#include <cstdlib>

namespace {

std::optional<std::chrono::milliseconds> AskSessionBus() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    QVariant idle =
        AskDesktop(bus, QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                   QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                   QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    if (!idle.isValid())
        idle = AskDesktop(bus, QStringLiteral("org.freedesktop.ScreenSaver"),
                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                          QStringLiteral("org.freedesktop.ScreenSaver"),
                          QStringLiteral("GetSessionIdleTime"));
    bool ok = false;
    const qulonglong ms = idle.toULongLong(&ok);
    return ok ? std::optional(std::chrono::milliseconds(ms)) : std::nullopt;
}

std::optional<std::chrono::milliseconds> AskXServer() {
    const auto [connection, root] = CurrentX11Display();
    if (!connection || !root)
        return std::nullopt;
    xcb_screensaver_query_info_reply_t* info = xcb_screensaver_query_info_reply(
        connection, xcb_screensaver_query_info(connection, root), nullptr);
    if (!info)
        return std::nullopt;
    const std::chrono::milliseconds idle(info->ms_since_user_input);
    std::free(info);
    return idle;
}

} // namespace

std::optional<std::chrono::milliseconds> UserIdleTime() {
    if (auto idle = AskSessionBus())
        return idle;
    return AskXServer();
}
