#pragma once

#include <string>

// The folder of the running program's file, links resolved, ending in a '/': the bytes of the
// path as the system gives them, whatever their encoding. Empty when it cannot be told.
std::string ProgramFolder();
