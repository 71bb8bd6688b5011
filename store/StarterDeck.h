#pragma once

#include <string>

// Copies the starter deck to a path where no file is yet; false, with nothing left at `to`, when
// there is no deck to copy or the copy fails.
bool CopyStarterDeck(const std::string& from, const std::string& to);
