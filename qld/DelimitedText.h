#pragma once

#include <cstddef>
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
    std::vector<TextRow> rows;
    char separator = '\t';
    std::string error; // "line N: why"; empty when the whole text was read
};

// The text of a file: UTF-8 with or without a byte-order mark, CRLF or LF. Leading
// "#separator:tab"-style lines are read as settings; empty lines are skipped.
ReadResult ReadRows(std::string_view text, const ReadOptions& options);

// The separator of the first row: a tab if it splits the row, else whichever of comma and
// semicolon splits it into more fields, else a tab.
char DetectSeparator(std::string_view text);

// RFC 4180 rows: a field in double quotes may hold the separator, doubled quotes and line
// breaks (a CRLF inside becomes LF). A quote that does not start a field is an ordinary
// character, and so is a field's opening quote whose closing one is followed by more text on the
// same line.
ReadResult ParseRows(std::string_view text, char separator, int firstLine = 1);

// The offset of the first byte that is not part of UTF-8 text, or a NUL; npos when there is none.
std::size_t FindBadByte(std::string_view text);

// A field as ParseRows reads it back, quoted when it has to be.
std::string QuoteField(std::string_view field, char separator);

// The fields quoted and joined by the separator, ending in LF.
std::string FormatRow(std::string_view first, std::string_view second, char separator);
