#include "AnswerCheck.h"

#include <gtest/gtest.h>

#include <string>

// Spaces never count, letter case only with the option, line breaks always; a huge typed text
// is compared whole.
TEST(AnswerCheckTest, SpacesLetterCaseAndLineBreaks) {
    const std::string x499(499, 'x');
    struct Case {
        std::string typed, stored;
        bool matchCase, matches;
    } cases[] = {
        {"newyork", "New York", false, true},
        {"New  York", "New York", false, true},
        {" new york ", "New York", false, true},
        {"AZAZ", "azaz", false, true},
        {"newyork", "New York", true, false},
        {"NewYork", "New York", true, true},
        {"New Yor", "New York", false, false},
        {"New Yorks", "New York", false, false},
        {"", "", false, true},
        {"   ", "", false, true},
        {"", "   ", true, true},
        {"x", "", false, false},
        {"a\tb", "ab", false, false},
        {"a\nb", "a\nb", false, true},
        {"a\nb", "ab", false, false},
        {"ab\n", "ab", false, false},
        {"Berlin\nBonn", "Berlin\r\nBonn", false, true},
        {"a\r\nb", "a \n b", true, true},
        {"a\rb", "a\nb", false, false},
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9", false, false}, // only A-Z fold
        {"[@`{", "[@`{", false, true},
        {"@", "`", false, false},
        {std::string(499, 'X'), x499, false, true},
        {std::string(100000, 'x'), x499, false, false},
        {std::string(100000, ' ') + x499, x499, true, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswersMatch(c.typed, c.stored, c.matchCase), c.matches)
            << "'" << c.typed.substr(0, 20) << "' against '" << c.stored.substr(0, 20)
            << "', match case " << c.matchCase;
}
