#pragma once

#include <QByteArray>

class QWidget;

// Whether the program runs natively on Wayland, where a client can neither place its windows in
// the stack nor undo a minimise.
bool IsWaylandSession();

// Raises a top-level window and asks for the keyboard: on Wayland through xdg-activation, with
// the launcher's or the notification server's token when there is one (else Qt asks for a token
// of its own, which a compositor may refuse); on X11 through the window manager (EWMH), at the
// time of the launcher's startup id when it has one, ending the launcher's startup.
void ActivateWindow(QWidget& window, const QByteArray& activationToken);

// On X11, tells the launcher whose startup id this is that the start is over (its busy cursor
// ends).
void EndLauncherStartup(const QByteArray& startupId);
