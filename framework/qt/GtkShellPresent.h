#pragma once

#include <cstdint>

class QWindow;

// Asks GNOME's compositor (its gtk_shell1 protocol) to bring the window forward as if the user
// had asked at `time`, a time on the compositor's clock (0: now), as GTK's programs do: GNOME
// Shell hands a click on a notification as the startup id "_TIME<time>", which mutter honours in
// no other way. False where the compositor has no gtk_shell1.
bool PresentAtTime(QWindow& window, std::uint32_t time);
