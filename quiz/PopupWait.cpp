#include "PopupWait.h"

#include "DoNotDisturb.h"
#include "UserIdle.h"

namespace {

using namespace std::chrono_literals;

// A pause this long ends the user's typing.
constexpr auto kTypingPause = 2s;
constexpr auto kPollInterval = 1s;

} // namespace

CPopupWait::CPopupWait(std::function<void(Way)> onReady) : m_onReady(std::move(onReady)) {
    m_poll.setInterval(kPollInterval);
    QObject::connect(&m_poll, &QTimer::timeout, [this] { Check(); });
}

void CPopupWait::Start() {
    m_poll.start();
    Check();
}

void CPopupWait::Stop() {
    m_poll.stop();
    m_compositorIdle.Stop();
}

void CPopupWait::Check() {
    if (IsInterruptionUnwelcome())
        return;
    if (const auto idle = UserIdleTime()) {
        if (*idle >= kTypingPause)
            Come(WAY_WITH_KEYBOARD);
    } else if (m_compositorIdle.IsWatching() || m_compositorIdle.Start(kTypingPause)) {
        if (m_compositorIdle.IsPaused())
            Come(WAY_WITH_KEYBOARD);
    } else {
        Come(WAY_WITHOUT_KEYBOARD);
    }
}

void CPopupWait::Come(Way way) {
    Stop();
    m_onReady(way);
}
