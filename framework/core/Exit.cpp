#include "Exit.h"

#include "Seam.h"

#include <cstdlib>

namespace {

using ExitSeam = Seam<struct ExitTag, void(int status)>;

} // namespace

ExitHandler SetExitHandler(ExitHandler handler) {
    return ExitSeam::Set(std::move(handler));
}

void ExitProgram(int status) {
    if (const auto& handler = ExitSeam::Get())
        handler(status);
    std::exit(status);
}
