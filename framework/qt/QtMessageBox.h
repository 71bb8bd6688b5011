#pragma once

#include "MessageBox.h"

// Shows the request in a QMessageBox over the active window and returns the button's id.
int ShowQtMessageBox(const MessageBoxRequest& request);
