#include "WaylandGlobals.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>

namespace {

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

} // namespace

CWaylandGlobals::CWaylandGlobals(std::initializer_list<Wanted> wanted) : m_wanted(wanted) {
    m_display = static_cast<wl_display*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_display"));
    if (!m_display)
        return;
    m_queue = wl_display_create_queue(m_display);
    m_wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(m_display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(m_wrapper), m_queue);
    m_registry = wl_display_get_registry(m_wrapper);
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    wl_registry_add_listener(m_registry, &listener, this);
    RoundTrip();
}

CWaylandGlobals::~CWaylandGlobals() {
    if (!m_display)
        return;
    for (const auto& [interface, proxy] : m_bound)
        wl_proxy_destroy(proxy);
    wl_registry_destroy(m_registry);
    wl_proxy_wrapper_destroy(m_wrapper);
    wl_event_queue_destroy(m_queue);
}

void CWaylandGlobals::OnGlobal(void* data, wl_registry* registry, std::uint32_t name,
                               const char* interface, std::uint32_t version) {
    auto* globals = static_cast<CWaylandGlobals*>(data);
    for (const Wanted& wanted : globals->m_wanted)
        if (std::strcmp(interface, wanted.interface->name) == 0 && version >= wanted.version &&
            !globals->m_bound.count(wanted.interface))
            globals->m_bound[wanted.interface] = static_cast<wl_proxy*>(
                wl_registry_bind(registry, name, wanted.interface, wanted.version));
}

wl_proxy* CWaylandGlobals::Get(const wl_interface& interface) const {
    const auto found = m_bound.find(&interface);
    return found == m_bound.end() ? nullptr : found->second;
}

wl_proxy* CWaylandGlobals::Take(const wl_interface& interface) {
    wl_proxy* proxy = Get(interface);
    m_bound.erase(&interface);
    return proxy;
}

void CWaylandGlobals::RoundTrip() {
    if (m_display)
        wl_display_roundtrip_queue(m_display, m_queue);
}
