#pragma once

#include <map>
#include <string>

// The program's settings file as the disk holds it.
using SettingsEntries = std::map<std::string, std::string>; // "Group/Key" -> value

// Reads plain "key=value" lines under "[Group]" headers, the group's name percent-decoded.
SettingsEntries ReadSettingsFile(const std::string& path);
// Writes the entries in the same form, after the given lines (say, a comment), making folders.
void WriteSettingsFile(const std::string& path, const SettingsEntries& entries,
                       const std::string& leadingLines = "");

inline constexpr const char* kFile1 = "Recent QLD File/File1";
inline constexpr const char* kTitle = "Recent QLD File/Title";
