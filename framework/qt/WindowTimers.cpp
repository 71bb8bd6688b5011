#include "WindowTimers.h"

#include <QTimer>

CWindowTimers::CWindowTimers(QObject* owner, std::function<void(int)> onTimer)
    : m_owner(owner), m_onTimer(std::move(onTimer)) {}

void CWindowTimers::SetTimer(int id, int milliseconds) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(m_owner);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, m_owner, [this, id] { m_onTimer(id); });
    }
    timer->start(milliseconds < 0 ? 0 : milliseconds);
}

void CWindowTimers::KillTimer(int id) {
    if (auto it = m_timers.find(id); it != m_timers.end())
        it->second->stop();
}

bool CWindowTimers::IsTimerRunning(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}
