#pragma once

#include <string>

// The user's base folders by the XDG rules, each ending in a '/': the variable's value when it
// is an absolute path, else the usual folder in the home folder.
std::string UserDataHome();   // $XDG_DATA_HOME, or ~/.local/share/
std::string UserConfigHome(); // $XDG_CONFIG_HOME, or ~/.config/
std::string UserCacheHome();  // $XDG_CACHE_HOME, or ~/.cache/
