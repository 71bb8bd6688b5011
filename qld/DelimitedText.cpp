#include "DelimitedText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

using RowCall = std::function<void(TextRow&&)>;

// The length of the line end at i: 1 for LF or a lone CR, 2 for CRLF, 0 for none.
std::size_t LineEndAt(std::string_view s, std::size_t i) {
    if (i < s.size() && s[i] == '\n')
        return 1;
    if (i < s.size() && s[i] == '\r')
        return i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
    return 0;
}

// The 1-based line of the byte at the offset.
int LineAt(std::string_view s, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset;)
        if (const std::size_t end = LineEndAt(s, i)) {
            i += end;
            ++line;
        } else {
            ++i;
        }
    return line;
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
    constexpr std::array<std::string_view, 11> keys = {
        "separator",   "html",        "tags",       "columns",
        "notetype",    "deck",        "if matches", "notetype column",
        "deck column", "tags column", "guid column"};
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The fields of a row beyond these are read past: a card's two lie within them, the columns of
// other data that a header line may name being at most 1000.
constexpr std::size_t kFieldsKept = 1002;

// At most rowLimit rows, each handed to the call.
std::string Parse(std::string_view s, char separator, int firstLine, std::size_t rowLimit,
                  const RowCall& onRow) {
    int line = firstLine;
    std::size_t i = 0;
    for (std::size_t rows = 0; i < s.size() && rows < rowLimit;) {
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
                if (!closed)
                    return LineError(line, "a quoted field has no closing quote");
                if (j == s.size() || s[j] == separator || LineEndAt(s, j)) {
                    quoted = true;
                    i = j;
                    line += breaks;
                } else if (breaks > 0) {
                    return LineError(line, "text after the closing quote of a field");
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
            if (row.fields.size() < kFieldsKept)
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
        ++rows;
        onRow(std::move(row));
    }
    return {};
}

} // namespace

char SeparatorNamed(const std::string& named) {
    const std::string value = Lowered(named);
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
    return named.size() == 1 && named[0] != '"' ? named[0] : 0;
}

ReadResult ReadRows(std::string_view text, const ReadOptions& options, const RowCall& onRow) {
    ReadResult result;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        result.error = LineError(1, "UTF-16 text; save it as UTF-8");
        return result;
    }
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    if (const std::size_t bad = FindBadByte(text); bad != std::string_view::npos) {
        result.error =
            LineError(LineAt(text, bad), text[bad] == '\0' ? "a NUL byte" : "not UTF-8 text");
        return result;
    }

    char separator = options.separator;
    std::vector<std::size_t> otherColumns; // 0-based, of guids, note types, decks and tags
    int line = 1;
    while (text.starts_with('#')) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view setting = text.substr(1, end - 1);
        const std::size_t colon = setting.find(':');
        if (colon == std::string_view::npos || !IsSettingsKey(setting.substr(0, colon)))
            break;
        const std::string_view key = setting.substr(0, colon);
        const std::string value(setting.substr(colon + 1));
        if (key == "separator" && options.separator == 0) {
            separator = SeparatorNamed(value);
            if (separator == 0) {
                result.error = LineError(line, "unknown separator");
                return result;
            }
        } else if (key == "html") {
            result.html = Lowered(value) == "true";
        } else if (key.ends_with(" column")) {
            char* rest = nullptr;
            const long column = std::strtol(value.c_str(), &rest, 10);
            if (value.empty() || *rest != '\0' || column < 1 || column > 1000) {
                result.error = LineError(line, "not a column number: " + value);
                return result;
            }
            otherColumns.push_back(static_cast<std::size_t>(column - 1));
        }
        text.remove_prefix(std::min(end + LineEndAt(text, end), text.size()));
        ++line;
    }
    std::sort(otherColumns.rbegin(), otherColumns.rend());

    if (separator == 0)
        separator = DetectSeparator(text);
    if (separator == 0) {
        result.error = LineError(line, "commas and semicolons split the first line alike; "
                                       "name the separator with --sep");
        return result;
    }
    result.separator = separator;
    bool headerRowLeft = options.headerRow;
    result.error = Parse(text, separator, line, std::string_view::npos, [&](TextRow&& row) {
        if (std::exchange(headerRowLeft, false))
            return;
        for (const std::size_t column : otherColumns)
            if (column < row.fields.size())
                row.fields.erase(row.fields.begin() + static_cast<std::ptrdiff_t>(column));
        if (result.html)
            for (std::string& field : row.fields)
                field = HtmlToText(field, result.converted);
        if (onRow)
            onRow(std::move(row));
        else
            result.rows.push_back(std::move(row));
    });
    return result;
}

char DetectSeparator(std::string_view text) {
    const auto fieldsWith = [&](char separator) {
        std::size_t fields = 0;
        Parse(text, separator, 1, 1, [&](TextRow&& row) { fields = row.fields.size(); });
        return fields;
    };
    if (fieldsWith('\t') > 1)
        return '\t';
    const std::size_t commas = fieldsWith(','), semicolons = fieldsWith(';');
    if (commas <= 1 && semicolons <= 1)
        return '\t';
    if (commas == semicolons)
        return 0;
    return semicolons > commas ? ';' : ',';
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
