#pragma once

#include <functional>

// The one way the program ends on a failure it cannot go on from. The handler does what must
// happen before the end (the GUI removes its tray icon); tests install one that throws.
using ExitHandler = std::function<void(int status)>;
ExitHandler SetExitHandler(ExitHandler handler);

[[noreturn]] void ExitProgram(int status);
