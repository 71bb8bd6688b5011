#pragma once

// The desktop asks not to be interrupted: the active window fills the screen (seen on X11), the
// session is locked or its screen saver runs, or notifications are switched off ("do not
// disturb": the notification server's Inhibited property, GNOME's banners setting).
bool IsInterruptionUnwelcome();
