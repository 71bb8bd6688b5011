#include "DesktopEntry.h"

#include <algorithm>

namespace {

// Inside the double quotes a backslash, a quote, a backtick and a dollar take a backslash; '%' is
// doubled; then the key's string escapes double every backslash.
std::string ExecWord(const std::string& path, bool quoted) {
    quoted = quoted || path.find_first_of(" \"'\\><~|&;$*?#()`") != std::string::npos;
    std::string word = quoted ? "\"" : "";
    for (const char c : path) {
        if (c == '%')
            word += '%';
        else if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\'))
            word += '\\';
        word += c;
    }
    if (quoted)
        word += '"';
    std::string value;
    for (const char c : word)
        value += c == '\\' ? "\\\\" : std::string(1, c);
    return value;
}

} // namespace

std::string FillDesktopEntry(std::string_view entryTemplate, const std::string& program,
                             bool quoted) {
    if (std::any_of(program.begin(), program.end(),
                    [](unsigned char c) { return c < 0x20 || c == 0x7F; }))
        return {};
    constexpr std::string_view kPlaceholder = "@exec@";
    std::string entry(entryTemplate);
    const std::size_t at = entry.find(kPlaceholder);
    if (at != std::string::npos)
        entry.replace(at, kPlaceholder.size(), ExecWord(program, quoted));
    return entry;
}
