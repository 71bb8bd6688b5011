#pragma once

#include "Exit.h"
#include "ScopedHandler.h"

// Thrown instead of ending the test process.
struct ProgramExit {
    int status;
};

// While it lives, ExitProgram throws ProgramExit.
class ExitTrap {
public:
    ExitTrap() : m_trap(SetExitHandler, [](int status) { throw ProgramExit{status}; }) {}

private:
    ScopedHandler<ExitHandler> m_trap;
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
