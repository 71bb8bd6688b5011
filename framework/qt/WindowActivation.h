#pragma once

#include <QByteArray>

class QWidget;

// Whether the program runs natively on Wayland, where a client can neither place its windows in
// the stack nor undo a minimise.
bool IsWaylandSession();

// Raises a top-level window and asks for the keyboard: on Wayland through xdg-activation, with
// the launcher's or the notification server's token when there is one (else Qt asks for a token
// of its own, which a compositor may refuse); on X11 through the window manager (EWMH).
void ActivateWindow(QWidget& window, const QByteArray& activationToken);
