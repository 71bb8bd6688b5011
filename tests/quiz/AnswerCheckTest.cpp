#include "AnswerCheck.h"

#include <gtest/gtest.h>

#include <string>

// Each pair with Match case off and on: spaces of every kind never count, canonical forms are
// equal, case (in every script, by full folding) only with the option, line breaks always, a
// CR LF as a LF; every typed character must be matched.
TEST(AnswerCheckTest, UnicodeCaseFormsAndSpaces) {
    const struct {
        std::string typed, stored;
        bool caseOff, caseOn;
    } cases[] = {{" new  york ", "New York", true, false},
                 {"NewYork", "New York", true, true},
                 {"New Yorks", "New York", false, false},
                 {"a\nb", "ab", false, false},
                 {"a\nb", "a\r\nb", true, true},
                 {"äpfel", "Äpfel", true, false},
                 {"école", "École", true, false},
                 {"ёж", "Ёж", true, false},
                 {"αθηνα", "ΑΘΗΝΑ", true, false},
                 {"σοφός", "ΣΟΦΌΣ", true, false},
                 {"STRAẞE", "Straße", true, false},
                 {"STRASSE", "Straße", true, false},
                 {"strasse", "straße", true, false},
                 {"straße", "straße", true, true},
                 {"caf\u00E9", "cafe\u0301", true, true},
                 {"cafe\u0301", "caf\u00E9", true, true},
                 {"cafe", "caf\u00E9", false, false},
                 {"東京\u3000タワー", "東京 タワー", true, true},
                 {"New\u00A0York\u2009", "New York", true, true},
                 {"東京タワー", "東京\tタワー", false, false}};
    for (const auto& c : cases)
        for (const bool matchCase : {false, true})
            EXPECT_EQ(AnswersMatch(c.typed, c.stored, matchCase), matchCase ? c.caseOn : c.caseOff)
                << "'" << c.typed << "' against '" << c.stored << "', match case " << matchCase;
}
