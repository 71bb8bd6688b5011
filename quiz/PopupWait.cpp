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

void CPopupWait::Check() {
    if (IsInterruptionUnwelcome())
        return;
    const auto idle = UserIdleTime();
    if (idle && *idle < kTypingPause)
        return;
    m_poll.stop();
    m_onReady(idle ? WAY_WITH_KEYBOARD : WAY_WITHOUT_KEYBOARD);
}
