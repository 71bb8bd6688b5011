#include "AnswerCheck.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace {

// The text as compared: decomposed (a folded text is decomposed again, since folding can
// compose), without space separators and without the CR of a CR LF.
icu::UnicodeString Comparable(std::string_view text, bool matchCase) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    icu::UnicodeString s = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    if (U_SUCCESS(status))
        s = nfd->normalize(s, status);
    if (!matchCase) {
        s.foldCase(U_FOLD_CASE_DEFAULT);
        if (U_SUCCESS(status))
            s = nfd->normalize(s, status);
    }
    icu::UnicodeString kept;
    for (int32_t i = 0; i < s.length(); i = s.moveIndex32(i, 1)) {
        const UChar32 c = s.char32At(i);
        if (u_charType(c) == U_SPACE_SEPARATOR || (c == u'\r' && s.char32At(i + 1) == u'\n'))
            continue;
        kept.append(c);
    }
    return kept;
}

} // namespace

bool AnswersMatch(std::string_view typed, std::string_view stored, bool matchCase) {
    return Comparable(typed, matchCase) == Comparable(stored, matchCase);
}
