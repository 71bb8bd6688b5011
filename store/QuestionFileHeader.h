#pragma once

#include <array>
#include <cstdint>

inline constexpr int kHeaderSize = 104;
inline constexpr int kOldHeaderSize = 32;
inline constexpr std::int32_t kCurrentVersion = 200;
// Files below this version have the 32-byte header; below kCurrentVersion no schedule state.
inline constexpr std::int32_t kLongHeaderVersion = 150;
inline constexpr int kMaxQuestions = 1000;
inline constexpr int kLongestPopupMinutes = 360;
// The range of a new file, and of one whose range is not valid: the first 20 questions.
inline constexpr std::int32_t kDefaultRangeFrom = 0;
inline constexpr std::int32_t kDefaultRangeTo = 19;

enum OptionFlags : std::int32_t {
    OPT_NO_SHOW_AT_START = 1,
    OPT_MATCH_CASE = 2,
    OPT_HIDE_IF_CORRECT = 4,
    OPT_SOUND_ON = 8,
};

// The 104-byte header of a data file, field by field in file order.
struct QuestionFileHeader {
    std::int32_t version = 0;
    std::int32_t recordCount = 0;
    std::int32_t position = 0;
    std::int32_t popupMinutes = 0;
    std::int32_t reservedInt1 = 0;
    std::int32_t optionFlags = 0;
    std::int32_t reservedInt2 = 0;
    std::int32_t savedTime = 0;
    std::array<std::uint8_t, 28> reservedBytes1{};
    std::int16_t reservedShort = 0;
    std::array<std::uint8_t, 2> gap{};
    std::int32_t reviewMode = 0;
    std::int32_t stepIndex = 0;
    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    std::array<std::uint8_t, 24> reservedBytes2{};
};

using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

HeaderBytes EncodeHeader(const QuestionFileHeader& header);
QuestionFileHeader DecodeHeader(const HeaderBytes& bytes);

// Files below version 150 have the 32-byte header.
int HeaderSizeOf(const QuestionFileHeader& header);
// What keeps a file of this header and length from loading, first found first.
enum class HeaderDefect { None, UnknownVersion, ShortHeader, RecordCountOutOfRange, ShortRecords };
HeaderDefect FindHeaderDefect(const QuestionFileHeader& header, std::int64_t length);
// The range runs forward within the questions that a file can hold.
bool IsValidRange(const QuestionFileHeader& header);
// The length that the header's records need.
std::int64_t NeededLength(const QuestionFileHeader& header);
