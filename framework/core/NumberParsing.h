#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reads a box's text as a number the way the dialogs' data exchange does: only the first 31
// characters count; blanks and tabs around the number are allowed; a value beyond the type's
// range becomes its limit. Nothing when the text is refused: no digits, anything else around
// them, a result of 0 not written with a leading 0 digit, or a minus sign before an unsigned
// number.
std::optional<std::int32_t> ParseSignedInteger(std::string_view text);
std::optional<std::uint32_t> ParseUnsignedInteger(std::string_view text);
