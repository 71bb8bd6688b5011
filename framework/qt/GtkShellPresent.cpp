#include "GtkShellPresent.h"

#include "WaylandGlobals.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

namespace {

// The requests of gtk_shell1 and gtk_surface1 (version 4) that are used, and the events that
// the compositor may send, as GNOME's protocol description gives them.
extern const wl_interface kGtkSurface;
const wl_interface* kNoTypes[6] = {};
const wl_interface* kGetSurfaceTypes[] = {&kGtkSurface, &wl_surface_interface};
const wl_interface* kBellTypes[] = {&kGtkSurface};
const wl_message kShellRequests[] = {{"get_gtk_surface", "no", kGetSurfaceTypes},
                                     {"set_startup_id", "?s", kNoTypes},
                                     {"system_bell", "?o", kBellTypes},
                                     {"notify_launch", "3s", kNoTypes}};
const wl_message kShellEvents[] = {{"capabilities", "u", kNoTypes}};
const wl_interface kGtkShell = {"gtk_shell1", 4, 4, kShellRequests, 1, kShellEvents};
const wl_message kSurfaceRequests[] = {{"set_dbus_properties", "?s?s?s?s?s?s", kNoTypes},
                                       {"set_modal", "", kNoTypes},
                                       {"unset_modal", "", kNoTypes},
                                       {"present", "u", kNoTypes},
                                       {"request_focus", "3?s", kNoTypes},
                                       {"release", "4", kNoTypes}};
const wl_message kSurfaceEvents[] = {{"configure", "a", kNoTypes},
                                     {"configure_edges", "2a", kNoTypes}};
const wl_interface kGtkSurface = {"gtk_surface1", 4, 6, kSurfaceRequests, 2, kSurfaceEvents};
enum { GET_GTK_SURFACE = 0, PRESENT = 3, RELEASE = 5 };
constexpr std::uint32_t kShellVersion = 4;

} // namespace

bool PresentAtTime(QWindow& window, std::uint32_t time) {
    auto* surface = static_cast<wl_surface*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", &window));
    if (!surface)
        return false;
    CWaylandGlobals globals({{&kGtkShell, kShellVersion}});
    wl_proxy* shell = globals.Get(kGtkShell);
    if (!shell)
        return false;
    wl_proxy* gtkSurface =
        wl_proxy_marshal_constructor(shell, GET_GTK_SURFACE, &kGtkSurface, nullptr, surface);
    wl_proxy_marshal(gtkSurface, PRESENT, time);
    wl_proxy_marshal(gtkSurface, RELEASE);
    wl_proxy_destroy(gtkSurface);
    globals.RoundTrip();
    return true;
}
