#pragma once

#include <QObject>

#include <functional>
#include <map>

class QTimer;

// Timers by id on a window: periodic until killed; setting one again restarts its countdown.
class CWindowTimers {
public:
    CWindowTimers(QObject* owner, std::function<void(int id)> onTimer);

    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;

private:
    QObject* m_owner;
    std::function<void(int)> m_onTimer;
    std::map<int, QTimer*> m_timers;
};
