#pragma once

#include <cstddef>
#include <string_view>

// How many bytes of UTF-8 text fit within limit without splitting what a reader sees as one
// character (a letter with its accents, a flag, an emoji family): the end of the last whole
// grapheme cluster that fits; the whole text when it fits.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit);
