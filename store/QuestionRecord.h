#pragma once

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int kRecordSize = 1052;
inline constexpr int kTextSize = 500;
inline constexpr int kCorrectTimesSlots = 10;

using TextField = std::array<char, kTextSize>;

// One 1052-byte question record: its slot number, two NUL-terminated UTF-8 texts of at most
// 499 bytes, and the memory record.
struct QuestionRecord {
    std::int32_t number = 0;
    TextField question{};
    TextField answer{};
    std::int32_t memoryReserved = 0;
    std::int32_t correctCount = 0;
    std::array<std::int32_t, kCorrectTimesSlots> correctTimes{};
};

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// Where record `number` starts in a file whose header takes headerSize bytes.
inline constexpr std::int64_t RecordOffset(int number, int headerSize) {
    return headerSize + std::int64_t{number} * kRecordSize;
}

RecordBytes EncodeRecord(const QuestionRecord& record);
QuestionRecord DecodeRecord(const RecordBytes& bytes);

// The bytes of a field as stored: up to its first NUL, never more than 499.
std::string_view FieldBytes(const TextField& field);

// The text of a field as shown and matched: its bytes without an incomplete UTF-8 sequence at
// their end, which a cut by byte count in another program may have left.
std::string_view FieldText(const TextField& field);

// Stores text in a field, cut to at most 499 bytes on a UTF-8 character boundary, the rest NUL.
void SetFieldText(TextField& field, std::string_view text);
