#include "CompositorIdle.h"

#include "WaylandGlobals.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

namespace {

// The two protocols' interfaces, as their descriptions give them (wayland-protocols' staging
// ext-idle-notify-v1; KDE's idle.xml). Both notifications send "idle" as event 0 and "resumed"
// as event 1, and are destroyed by request 0.
extern const wl_interface kExtNotification;
extern const wl_interface kKdeTimeout;
const wl_interface* kNoTypes[3] = {};
const wl_interface* kExtGetTypes[] = {&kExtNotification, nullptr, &wl_seat_interface};
const wl_interface* kKdeGetTypes[] = {&kKdeTimeout, &wl_seat_interface, nullptr};
const wl_message kExtNotifierRequests[] = {{"destroy", "", kNoTypes},
                                           {"get_idle_notification", "nuo", kExtGetTypes}};
const wl_interface kExtNotifier = {"ext_idle_notifier_v1", 1, 2, kExtNotifierRequests, 0, nullptr};
const wl_message kNotificationRequests[] = {{"destroy", "", kNoTypes}};
const wl_message kNotificationEvents[] = {{"idled", "", kNoTypes}, {"resumed", "", kNoTypes}};
const wl_interface kExtNotification = {"ext_idle_notification_v1", 1, 1,
                                       kNotificationRequests,      2, kNotificationEvents};
const wl_message kKdeIdleRequests[] = {{"get_idle_timeout", "nou", kKdeGetTypes}};
const wl_interface kKdeIdle = {"org_kde_kwin_idle", 1, 1, kKdeIdleRequests, 0, nullptr};
const wl_message kKdeTimeoutRequests[] = {{"release", "", kNoTypes},
                                          {"simulate_user_activity", "", kNoTypes}};
const wl_interface kKdeTimeout = {"org_kde_kwin_idle_timeout", 1, 2,
                                  kKdeTimeoutRequests,         2, kNotificationEvents};
enum { DESTROY = 0, GET_NOTIFICATION = 1, GET_TIMEOUT = 0 };

struct Listener {
    void (*idle)(void*, wl_proxy*);
    void (*resumed)(void*, wl_proxy*);
};

} // namespace

CCompositorIdle::~CCompositorIdle() {
    Stop();
}

bool CCompositorIdle::Start(std::chrono::milliseconds pause) {
    Stop();
    auto* seat = static_cast<wl_seat*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_seat"));
    if (!seat)
        return false;
    CWaylandGlobals globals({{&kExtNotifier, 1}, {&kKdeIdle, 1}});
    const auto timeout = static_cast<std::uint32_t>(pause.count());
    if (wl_proxy* notifier = globals.Take(kExtNotifier)) {
        m_notification = wl_proxy_marshal_constructor(notifier, GET_NOTIFICATION, &kExtNotification,
                                                      nullptr, timeout, seat);
        wl_proxy_marshal_flags(notifier, DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    } else if (wl_proxy* idle = globals.Get(kKdeIdle)) {
        m_notification =
            wl_proxy_marshal_constructor(idle, GET_TIMEOUT, &kKdeTimeout, nullptr, seat, timeout);
    }
    if (!m_notification)
        return false;
    // Its events come with Qt's own, on Qt's queue.
    wl_proxy_set_queue(m_notification, nullptr);
    static const Listener listener = {OnIdle, OnResumed};
    wl_proxy_add_listener(m_notification,
                          reinterpret_cast<void (**)()>(const_cast<Listener*>(&listener)), this);
    globals.RoundTrip();
    return true;
}

void CCompositorIdle::Stop() {
    if (m_notification)
        wl_proxy_marshal_flags(std::exchange(m_notification, nullptr), DESTROY, nullptr, 1,
                               WL_MARSHAL_FLAG_DESTROY);
    m_bPaused = false;
}

void CCompositorIdle::OnIdle(void* data, wl_proxy*) {
    static_cast<CCompositorIdle*>(data)->m_bPaused = true;
}

void CCompositorIdle::OnResumed(void* data, wl_proxy*) {
    static_cast<CCompositorIdle*>(data)->m_bPaused = false;
}
