#include "NumberParsing.h"

#include <gtest/gtest.h>

#include <string>

TEST(NumberParsingTest, SignedNumbers) {
    struct Case {
        std::string text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"15", 15},
        {" \t15 \t", 15},
        {"+7", 7},
        {"-7", -7},
        {"0", 0},
        {"007", 7},
        {"  0  ", 0},
        {"12345678901", 2147483647},
        {"-12345678901", -2147483647 - 1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"+", std::nullopt},
        {"-0", std::nullopt},
        {"+0", std::nullopt},
        {"0x10", std::nullopt},
        {"\n5", std::nullopt},
        {std::string(30, ' ') + "5", 5},
        {std::string(31, ' ') + "5", std::nullopt},
        {"5" + std::string(30, ' ') + "x", 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSignedInteger(c.text), c.value) << "'" << c.text << "'";
}

TEST(NumberParsingTest, UnsignedNumbers) {
    struct Case {
        std::string text;
        std::optional<std::uint32_t> value;
    } cases[] = {
        {"360", 360u},
        {" 15 ", 15u},
        {"+3", 3u},
        {"0", 0u},
        {"99999999999", 4294967295u},
        {"4294967295", 4294967295u},
        {"-1", std::nullopt},
        {" -0", std::nullopt},
        {"", std::nullopt},
        {"1.5", std::nullopt},
        {"ten", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseUnsignedInteger(c.text), c.value) << "'" << c.text << "'";
}
