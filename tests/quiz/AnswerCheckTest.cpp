#include "AnswerCheck.h"

#include <gtest/gtest.h>

#include <string>

TEST(AnswerCheckTest, SpacesAndLetterCase) {
    struct Case {
        const char* typed;
        const char* stored;
        bool matchCase;
        bool matches;
    } cases[] = {
        {"newyork", "New York", false, true},
        {"New  York", "New York", false, true},
        {" new york ", "New York", false, true},
        {"NEWYORK", "New York", false, true},
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswersMatch(c.typed, c.stored, c.matchCase), c.matches)
            << "'" << c.typed << "' against '" << c.stored << "', match case " << c.matchCase;
}

TEST(AnswerCheckTest, LongTypedTextIsComparedWhole) {
    const std::string stored(499, 'x');
    EXPECT_TRUE(AnswersMatch(std::string(499, 'X'), stored, false));
    EXPECT_FALSE(AnswersMatch(std::string(100000, 'x'), stored, false));
    EXPECT_TRUE(AnswersMatch(std::string(100000, ' ') + stored, stored, true));
}
