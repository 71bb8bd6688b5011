#pragma once

#include <string>
#include <string_view>

// A desktop entry from its template: "@exec@" becomes the program's path as the one word of the
// Exec key, in double quotes when `quoted` is set or the path holds a character that the key
// reserves. Empty when the path holds a control character: no entry can start it.
std::string FillDesktopEntry(std::string_view entryTemplate, const std::string& program,
                             bool quoted);

// The entry that starts Quillow with the desktop session, as a template.
extern const std::string_view kAutostartTemplate;
