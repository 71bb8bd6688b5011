#include "AnswerCheck.h"

namespace {

char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The next byte at or after i that counts, or size when there is none: spaces do not count, nor
// the carriage return of a CR LF line end, which reads as the LF alone.
std::size_t SkipSpaces(std::string_view text, std::size_t i) {
    while (i < text.size() &&
           (text[i] == ' ' || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')))
        ++i;
    return i;
}

} // namespace

bool AnswersMatch(std::string_view typed, std::string_view stored, bool matchCase) {
    std::size_t i = SkipSpaces(typed, 0);
    std::size_t j = SkipSpaces(stored, 0);
    while (i < typed.size() && j < stored.size()) {
        const char a = matchCase ? typed[i] : Folded(typed[i]);
        const char b = matchCase ? stored[j] : Folded(stored[j]);
        if (a != b)
            return false;
        i = SkipSpaces(typed, i + 1);
        j = SkipSpaces(stored, j + 1);
    }
    return i == typed.size() && j == stored.size();
}
