#include "Exit.h"

#include <cstdlib>

namespace {

ExitHandler& CurrentHandler() {
    static ExitHandler handler;
    return handler;
}

} // namespace

ExitHandler SetExitHandler(ExitHandler handler) {
    auto previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

void ExitProgram(int status) {
    if (CurrentHandler())
        CurrentHandler()(status);
    std::exit(status);
}
