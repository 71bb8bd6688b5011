#pragma once

#include <QTimer>

#include <functional>

// The pop-up's wait once its period has ended: the window comes back with the keyboard only
// after the user has pressed no key for a moment, and not at all while the desktop asks not to
// be interrupted; where the desktop tells nothing of the user's keys, it comes back without the
// keyboard. It asks the desktop once a second, and only while it waits.
class CPopupWait {
public:
    enum Way { WAY_WITH_KEYBOARD, WAY_WITHOUT_KEYBOARD };

    explicit CPopupWait(std::function<void(Way)> onReady);

    // Asks at once, then once a second until the window may come.
    void Start();
    void Stop() { m_poll.stop(); }
    bool IsWaiting() const { return m_poll.isActive(); }

private:
    void Check();

    QTimer m_poll;
    std::function<void(Way)> m_onReady;
};
