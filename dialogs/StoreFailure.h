#pragma once

#include "StoreStatus.h"

// A failure of the data file is shown, and ends the program: the drill cannot go on without its
// file, and nothing more is written to it.
void ExitOnFailure(const StoreStatus& status);
