#pragma once

#include <chrono>
#include <memory>

struct wl_proxy;

// Whether the user has paused, as a Wayland compositor tells it through an idle protocol
// (ext-idle-notify-v1, or KDE's org_kde_kwin_idle, which sway 1.7 and KWin speak): it says when
// no key has been pressed for the pause asked for, and when the user is back.
class CCompositorIdle {
public:
    CCompositorIdle() = default;
    ~CCompositorIdle();
    CCompositorIdle(const CCompositorIdle&) = delete;
    CCompositorIdle& operator=(const CCompositorIdle&) = delete;

    // Starts watching for a pause this long; false where the compositor offers no idle protocol
    // (and off Wayland).
    bool Start(std::chrono::milliseconds pause);
    void Stop();
    bool IsWatching() const { return m_notification != nullptr; }
    bool IsPaused() const { return m_bPaused; }

private:
    static void OnIdle(void* data, wl_proxy*);
    static void OnResumed(void* data, wl_proxy*);

    wl_proxy* m_notification = nullptr;
    bool m_bPaused = false;
};
