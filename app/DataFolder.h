#pragma once

#include <string>

// The file that the install step puts beside an installed program.
inline constexpr const char* kInstalledMarker = "installed";

// The folder of the default data file, ending in a '/': the program's folder, unless the program
// is installed (its folder holds kInstalledMarker) or the user may not write in its folder; then
// Brightfen/Quillow/ in the user's data folder (userDataHome, ending in a '/').
std::string DefaultDataFolder(const std::string& programFolder, const std::string& userDataHome);
