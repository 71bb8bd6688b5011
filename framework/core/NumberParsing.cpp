#include "NumberParsing.h"

#include <limits>

namespace {

constexpr std::size_t kSignificantCharacters = 31;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Scanned {
    bool negative = false;
    std::uint64_t magnitude = 0; // saturates far above both types' ranges
    bool valid = false;
};

// Blanks, an optional sign, digits, blanks: the whole text must be used.
Scanned Scan(std::string_view text, bool allowMinus) {
    text = text.substr(0, kSignificantCharacters);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    Scanned result;
    const bool startsWithZero = i < text.size() && text[i] == '0';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        if (result.negative && !allowMinus)
            return result;
        ++i;
    }
    const std::size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i])) {
        if (result.magnitude < (std::uint64_t{1} << 40))
            result.magnitude = result.magnitude * 10 + std::uint64_t(text[i] - '0');
        ++i;
    }
    const bool digits = i > digitsStart;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    result.valid = digits && i == text.size() && (result.magnitude != 0 || startsWithZero);
    return result;
}

} // namespace

std::optional<std::int32_t> ParseSignedInteger(std::string_view text) {
    const Scanned s = Scan(text, true);
    if (!s.valid)
        return std::nullopt;
    constexpr auto kMax = std::uint64_t(std::numeric_limits<std::int32_t>::max());
    if (s.negative)
        return s.magnitude > kMax ? std::numeric_limits<std::int32_t>::min()
                                  : -std::int32_t(s.magnitude);
    return s.magnitude > kMax ? std::numeric_limits<std::int32_t>::max()
                              : std::int32_t(s.magnitude);
}

std::optional<std::uint32_t> ParseUnsignedInteger(std::string_view text) {
    const Scanned s = Scan(text, false);
    if (!s.valid)
        return std::nullopt;
    constexpr auto kMax = std::uint64_t(std::numeric_limits<std::uint32_t>::max());
    return s.magnitude > kMax ? std::numeric_limits<std::uint32_t>::max()
                              : std::uint32_t(s.magnitude);
}
