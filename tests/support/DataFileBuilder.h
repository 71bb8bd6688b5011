#pragma once

#include "TempDir.h"

#include <string>
#include <utility>
#include <vector>

// A current-format data file, built byte by byte independently of the store's own coding.
struct DeckSpec {
    std::vector<std::pair<std::string, std::string>> cards; // question, answer
    int popupMinutes = 1;
    int optionFlags = 0;
    int reviewMode = 1;
    int position = 0;
    int stepIndex = 0;
    int rangeFrom = 0;
    int rangeTo = 19;
};

Bytes MakeDataFile(const DeckSpec& deck);

// Offsets of a record's fields in a data file.
inline std::size_t RecordOffset(int slot) {
    return 104 + std::size_t(slot) * 1052;
}
inline std::size_t CorrectCountOffset(int slot) {
    return RecordOffset(slot) + 1008;
}
