#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <vector>

// The compositor's globals of the interfaces asked for, bound on Qt's Wayland connection but on
// a queue of their own, so that Qt's dispatching of its own objects is not disturbed. Nothing is
// bound off Wayland.
class CWaylandGlobals {
public:
    struct Wanted {
        const wl_interface* interface;
        std::uint32_t version; // the least version that serves, and the one bound
    };

    explicit CWaylandGlobals(std::initializer_list<Wanted> wanted);
    ~CWaylandGlobals();
    CWaylandGlobals(const CWaylandGlobals&) = delete;
    CWaylandGlobals& operator=(const CWaylandGlobals&) = delete;

    // The bound global of this interface, null where the compositor offers none.
    wl_proxy* Get(const wl_interface& interface) const;
    // Hands the bound global over to the caller, who then destroys it.
    wl_proxy* Take(const wl_interface& interface);
    // Sends the requests made so far and waits until the compositor has read them.
    void RoundTrip();

private:
    static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);

    wl_display* m_display = nullptr;
    wl_event_queue* m_queue = nullptr;
    wl_display* m_wrapper = nullptr;
    wl_registry* m_registry = nullptr;
    std::vector<Wanted> m_wanted;
    std::map<const wl_interface*, wl_proxy*> m_bound;
};
