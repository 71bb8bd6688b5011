#include "GtkShellPresent.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <cstring>

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

struct Globals {
    wl_registry* registry = nullptr;
    wl_proxy* shell = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
    auto* globals = static_cast<Globals*>(data);
    if (!globals->shell && std::strcmp(interface, kGtkShell.name) == 0 && version >= kShellVersion)
        globals->shell =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kGtkShell, kShellVersion));
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

} // namespace

bool PresentAtTime(QWindow& window, std::uint32_t time) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", &window));
    if (!display || !surface)
        return false;
    // A queue of its own, so that Qt's dispatching of its own objects is not disturbed.
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    Globals globals;
    globals.registry = wl_display_get_registry(wrapper);
    wl_registry_add_listener(globals.registry, &kRegistryListener, &globals);
    wl_display_roundtrip_queue(display, queue);
    if (globals.shell) {
        wl_proxy* gtkSurface = wl_proxy_marshal_constructor(globals.shell, GET_GTK_SURFACE,
                                                            &kGtkSurface, nullptr, surface);
        wl_proxy_marshal(gtkSurface, PRESENT, time);
        wl_proxy_marshal(gtkSurface, RELEASE);
        wl_proxy_destroy(gtkSurface);
        wl_proxy_destroy(globals.shell);
        wl_display_roundtrip_queue(display, queue);
    }
    wl_registry_destroy(globals.registry);
    wl_proxy_wrapper_destroy(wrapper);
    wl_event_queue_destroy(queue);
    return globals.shell != nullptr;
}
