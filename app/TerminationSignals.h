#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C) into a call on the GUI thread,
// so that the program ends the way closing its window does.
class CTerminationSignals : public QObject {
public:
    explicit CTerminationSignals(std::function<void()> onSignal);
    ~CTerminationSignals() override;

private:
    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};
