#pragma once

#include <chrono>
#include <optional>

// How long the user has pressed no key and moved no pointer, from the first source that answers:
// GNOME's idle monitor (mutter, on Wayland and X11), the session's screen saver service (KDE
// Plasma), the X server's screen saver extension. Empty where none answers.
std::optional<std::chrono::milliseconds> UserIdleTime();
