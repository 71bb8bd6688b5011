#pragma once

#include "CompositorIdle.h"

#include <QTimer>

#include <functional>

// The pop-up's wait once its period has ended: the window comes back with the keyboard only
// after the user has pressed no key for a moment, and not at all while the desktop asks not to
// be interrupted; where the desktop tells nothing of the user's keys, it comes back without the
// keyboard. It asks the desktop once a second (a Wayland compositor's idle protocol tells it by
// itself), and only while it waits.
class CPopupWait {
public:
    enum Way { WAY_WITH_KEYBOARD, WAY_WITHOUT_KEYBOARD };

    explicit CPopupWait(std::function<void(Way)> onReady);

    // Asks at once, then once a second until the window may come.
    void Start();
    void Stop();
    bool IsWaiting() const { return m_poll.isActive(); }

private:
    void Check();
    void Come(Way way);

    QTimer m_poll;
    // Watched only where the desktop answers no idle time at once.
    CCompositorIdle m_compositorIdle;
    std::function<void(Way)> m_onReady;
};
