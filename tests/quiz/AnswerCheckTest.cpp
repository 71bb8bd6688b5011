#include "AnswerCheck.h"

#include <gtest/gtest.h>

#include <string>

// Spaces never count, letter case (A-Z only) only with the option, line breaks always, a CR LF
// as a LF; every typed byte must be matched.
TEST(AnswerCheckTest, SpacesLetterCaseAndLineBreaks) {
    const struct {
        std::string typed, stored;
        bool matchCase, matches;
    } cases[] = {
        {" new  york ", "New York", false, true}, {"AZAZ", "azaz", false, true},
        {"newyork", "New York", true, false},     {"NewYork", "New York", true, true},
        {"New Yorks", "New York", false, false},  {"a\nb", "ab", false, false},
        {"a\nb", "a\r\nb", false, true},          {"\xC3\x89", "\xC3\xA9", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswersMatch(c.typed, c.stored, c.matchCase), c.matches)
            << "'" << c.typed << "' against '" << c.stored << "', match case " << c.matchCase;
}
