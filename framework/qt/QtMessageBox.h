#pragma once

#include "MessageBox.h"

// Shows the request in a QMessageBox owned by the window in front (or the main window), with
// the program's icon, and returns the button's id.
int ShowQtMessageBox(const MessageBoxRequest& request);
