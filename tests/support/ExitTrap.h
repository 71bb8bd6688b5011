#pragma once

#include "Exit.h"

// Thrown instead of ending the test process.
struct ProgramExit {
    int status;
};

// While it lives, ExitProgram throws ProgramExit.
class ExitTrap {
public:
    ExitTrap() : m_previous(SetExitHandler([](int status) { throw ProgramExit{status}; })) {}
    ~ExitTrap() { SetExitHandler(std::move(m_previous)); }
    ExitTrap(const ExitTrap&) = delete;
    ExitTrap& operator=(const ExitTrap&) = delete;

private:
    ExitHandler m_previous;
};

// The status ExitProgram was called with while running f, or -1 when it was not called.
template <class F> int ExitStatusOf(F&& f) {
    ExitTrap trap;
    try {
        f();
    } catch (const ProgramExit& exit) {
        return exit.status;
    }
    return -1;
}
