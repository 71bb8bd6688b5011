#include "NumberParsing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(NumberParsingTest, SignedAndUnsignedNumbers) {
    const std::string spaces(30, ' ');
    struct Case {
        std::string text;
        std::int32_t value;
    } cases[] = {{" \t15 \t", 15},
                 {"+7", 7},
                 {"-7", -7},
                 {"007", 7},
                 {"  0  ", 0},
                 {"12345678901", 2147483647},
                 {"-12345678901", -2147483647 - 1},
                 {"-2147483648", -2147483647 - 1},
                 {spaces + "5", 5},
                 {"5" + spaces + "x", 5}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseSignedInteger(c.text), c.value) << "'" << c.text << "'";
    for (const std::string& text : std::vector<std::string>{
             "", "   ", "12abc", "1 2", "+", "-0", "+0", "0x10", "\n5", " " + spaces + "5"})
        EXPECT_EQ(ParseSignedInteger(text), std::nullopt) << "'" << text << "'";

    EXPECT_EQ(ParseUnsignedInteger(" +360 "), 360u);
    EXPECT_EQ(ParseUnsignedInteger("99999999999"), 4294967295u);
    EXPECT_EQ(ParseUnsignedInteger("4294967295"), 4294967295u);
    for (const char* text : {"-1", " -0", "1.5", ""})
        EXPECT_EQ(ParseUnsignedInteger(text), std::nullopt) << "'" << text << "'";
}
