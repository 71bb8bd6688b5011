#include "WholeCharacters.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cstdint>
#include <memory>

std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::BreakIterator> clusters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    UText* bytes =
        utext_openUTF8(nullptr, text.data(), static_cast<std::int64_t>(text.size()), &status);
    if (U_SUCCESS(status))
        clusters->setText(bytes, status);
    // Offsets into UTF-8 text are byte offsets.
    const std::int32_t end =
        U_SUCCESS(status) ? clusters->preceding(static_cast<std::int32_t>(limit) + 1) : 0;
    utext_close(bytes);
    return static_cast<std::size_t>(std::max(end, 0));
}
