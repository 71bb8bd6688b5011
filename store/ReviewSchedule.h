#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

enum ReviewMode : std::int32_t {
    REVIEW_CAREFUL = 0,
    REVIEW_NORMAL = 1,
    REVIEW_ROUGH = 2,
    REVIEW_ONCE = 3,
};

inline constexpr int kReviewModes = 4;

inline constexpr bool IsReviewMode(std::int32_t mode) {
    return mode >= 0 && mode < kReviewModes;
}
inline constexpr int kSequenceSlots = 6;

// At position p the question p - d is due for each offset d of the mode; -1 ends the list.
inline constexpr std::array<std::array<std::int32_t, kSequenceSlots>, kReviewModes> kReviewOffsets =
    {{
        {0, 1, 3, 6, 11, 18},
        {0, 2, 5, 11, -1, -1},
        {0, 3, -1, -1, -1, -1},
        {0, -1, -1, -1, -1, -1},
    }};

// The largest offset of each mode: how far the schedule walks beyond the range's end.
inline constexpr std::array<std::int32_t, kReviewModes> kReviewSpan = [] {
    std::array<std::int32_t, kReviewModes> span{};
    for (std::size_t mode = 0; mode < span.size(); ++mode)
        for (const std::int32_t offset : kReviewOffsets[mode])
            span[mode] = std::max(span[mode], offset);
    return span;
}();
