#pragma once

#include "HtmlText.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Cards as other programs export them: tab- or comma-separated text, one card per row.

struct TextRow {
    int line = 0; // where the row starts, 1-based
    std::vector<std::string> fields;
};

struct ReadOptions {
    char separator = 0; // 0: from an "#separator:" line, else from the first line
    bool headerRow = false;
};

struct ReadResult {
    std::vector<TextRow> rows; // when no call takes them one by one
    char separator = '\t';
    bool html = false;        // "#html:true": the fields were HTML, now plain text
    HtmlConversion converted; // what that changed
    std::string error;        // "line N: why"; empty when the whole text was read
};

// The text of a file: UTF-8 with or without a byte-order mark, LF, CRLF or CR line ends. The
// header lines that flash-card programs put before their cards ("#separator:tab", "#html:true",
// "#tags column:3", ...) are read: the separator, HTML fields (made plain text) and the columns
// that hold no card text (guid, note type, deck, tags; left out of the rows); the others are
// skipped. Empty lines are skipped. Each row goes to onRow as it is read, or into the result's
// rows without one. A first line split as much by commas as by semicolons is refused.
// Rows are RFC 4180: a field in double quotes may hold the separator, doubled quotes and line
// breaks (each becomes LF). A quote that does not start a field is an ordinary character, and so
// is a field's opening quote whose closing one is followed by more text on the same line.
ReadResult ReadRows(std::string_view text, const ReadOptions& options,
                    const std::function<void(TextRow&&)>& onRow = {});

// The separator of the first row: a tab if it splits the row, else whichever of comma and
// semicolon splits it into more fields, else a tab; 0 when comma and semicolon tie.
char DetectSeparator(std::string_view text);

// The separator that a name stands for (tab, comma, semicolon, pipe, space or colon, in any case)
// or that a single character other than a quote is; 0 for anything else.
char SeparatorNamed(const std::string& named);

// The offset of the first byte that is not part of UTF-8 text, or a NUL; npos when there is none.
std::size_t FindBadByte(std::string_view text);

// A field as ReadRows reads it back, quoted when it has to be.
std::string QuoteField(std::string_view field, char separator);

// The fields quoted and joined by the separator, ending in LF.
std::string FormatRow(std::string_view first, std::string_view second, char separator);
