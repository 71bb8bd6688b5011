#include "DelimitedText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the line end at i: 1 for LF, 2 for CRLF, 0 for none.
std::size_t LineEndAt(std::string_view s, std::size_t i) {
    if (i < s.size() && s[i] == '\n')
        return 1;
    if (i + 1 < s.size() && s[i] == '\r' && s[i + 1] == '\n')
        return 2;
    return 0;
}

std::string LineError(int line, std::string_view why) {
    std::string text = "line ";
    text += std::to_string(line);
    text += ": ";
    text += why;
    return text;
}

// The settings lines that flash-card programs put before their cards.
bool IsSettingsKey(std::string_view key) {
    constexpr std::array<std::string_view, 10> keys = {
        "separator",       "html",        "tags",        "columns",    "notetype", "deck",
        "notetype column", "deck column", "tags column", "guid column"};
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// The separator that a "#separator:" line names, or 0.
char SeparatorNamed(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    struct Name {
        std::string_view name;
        char separator;
    };
    constexpr std::array<Name, 6> names = {{{"tab", '\t'},
                                            {"comma", ','},
                                            {"semicolon", ';'},
                                            {"pipe", '|'},
                                            {"space", ' '},
                                            {"colon", ':'}}};
    for (const auto& n : names)
        if (value == n.name)
            return n.separator;
    return value.size() == 1 && value[0] != '"' ? value[0] : 0;
}

// At most rowLimit rows.
ReadResult Parse(std::string_view s, char separator, int firstLine, std::size_t rowLimit) {
    ReadResult result;
    result.separator = separator;
    int line = firstLine;
    std::size_t i = 0;
    while (i < s.size() && result.rows.size() < rowLimit) {
        if (const std::size_t end = LineEndAt(s, i)) {
            i += end;
            ++line;
            continue;
        }
        TextRow row{line, {}};
        for (;;) {
            std::string field;
            bool quoted = false;
            if (i < s.size() && s[i] == '"') {
                std::size_t j = i + 1;
                int breaks = 0;
                bool closed = false;
                while (j < s.size() && !closed) {
                    if (s[j] == '"' && j + 1 < s.size() && s[j + 1] == '"') {
                        field += '"';
                        j += 2;
                    } else if (s[j] == '"') {
                        closed = true;
                        ++j;
                    } else if (const std::size_t end = LineEndAt(s, j)) {
                        field += '\n';
                        j += end;
                        ++breaks;
                    } else {
                        field += s[j++];
                    }
                }
                if (!closed) {
                    result.error = LineError(line, "a quoted field has no closing quote");
                    return result;
                }
                if (j == s.size() || s[j] == separator || LineEndAt(s, j)) {
                    quoted = true;
                    i = j;
                    line += breaks;
                } else if (breaks > 0) {
                    result.error = LineError(line, "text after the closing quote of a field");
                    return result;
                } else {
                    field.clear();
                }
            }
            if (!quoted) {
                std::size_t j = i;
                while (j < s.size() && s[j] != separator && !LineEndAt(s, j))
                    ++j;
                field.assign(s.substr(i, j - i));
                i = j;
            }
            row.fields.push_back(std::move(field));
            if (i < s.size() && s[i] == separator) {
                ++i;
                continue;
            }
            if (const std::size_t end = LineEndAt(s, i)) {
                i += end;
                ++line;
            }
            break;
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

} // namespace

ReadResult ReadRows(std::string_view text, const ReadOptions& options) {
    ReadResult result;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        result.error = LineError(1, "UTF-16 text; save it as UTF-8");
        return result;
    }
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    if (const std::size_t bad = FindBadByte(text); bad != std::string_view::npos) {
        const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + bad, '\n'));
        result.error = LineError(line, text[bad] == '\0' ? "a NUL byte" : "not UTF-8 text");
        return result;
    }

    char separator = options.separator;
    int line = 1;
    while (text.starts_with('#')) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view setting = text.substr(1, end - 1);
        if (setting.ends_with('\r'))
            setting.remove_suffix(1);
        const std::size_t colon = setting.find(':');
        if (colon == std::string_view::npos || !IsSettingsKey(setting.substr(0, colon)))
            break;
        if (setting.substr(0, colon) == "separator" && options.separator == 0) {
            separator = SeparatorNamed(std::string(setting.substr(colon + 1)));
            if (separator == 0) {
                result.error = LineError(line, "unknown separator");
                return result;
            }
        }
        text.remove_prefix(std::min(end + 1, text.size()));
        ++line;
    }

    result = ParseRows(text, separator ? separator : DetectSeparator(text), line);
    if (result.error.empty() && options.headerRow && !result.rows.empty())
        result.rows.erase(result.rows.begin());
    return result;
}

char DetectSeparator(std::string_view text) {
    const auto fieldsWith = [&](char separator) {
        const ReadResult first = Parse(text, separator, 1, 1);
        return first.rows.empty() ? std::size_t{0} : first.rows[0].fields.size();
    };
    if (fieldsWith('\t') > 1)
        return '\t';
    const std::size_t commas = fieldsWith(','), semicolons = fieldsWith(';');
    if (commas <= 1 && semicolons <= 1)
        return '\t';
    return semicolons > commas ? ';' : ',';
}

ReadResult ParseRows(std::string_view text, char separator, int firstLine) {
    return Parse(text, separator, firstLine, std::string_view::npos);
}

std::size_t FindBadByte(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == 0)
            return i;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || lead > 0xF4 || i + length > text.size())
            return i;
        std::uint32_t code = lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            code = code << 6 | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and code points beyond Unicode.
        constexpr std::array<std::uint32_t, 5> smallest = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

std::string QuoteField(std::string_view field, char separator) {
    const bool plain =
        field.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string_view::npos &&
        !field.starts_with('#') && !field.starts_with(kByteOrderMark);
    if (plain)
        return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string FormatRow(std::string_view first, std::string_view second, char separator) {
    return QuoteField(first, separator) + separator + QuoteField(second, separator) + '\n';
}
