#include "Strings.h"
#include "ResourceIds.h"
#include "StringTable.h"

#include <gtest/gtest.h>

#include <set>

TEST(StringsTest, PrintfStyle) {
    EXPECT_EQ(FormatPrintf("between %d and %d", {5, 10}), "between 5 and 10");
    EXPECT_EQ(FormatPrintf("From: %3d|%3d|%3d", {1, 20, 1000}), "From:   1| 20|1000");
    EXPECT_EQ(FormatPrintf("%s!", {"a/b c.qld"}), "a/b c.qld!");
    EXPECT_EQ(FormatPrintf("%u %d", {-1, -1}), "4294967295 -1");
    EXPECT_EQ(FormatPrintf("100%% %d", {}), "100% ");
    EXPECT_EQ(FormatPrintf("%x %", {7}), "%x %");
}

TEST(StringsTest, PositionalStyle) {
    EXPECT_EQ(FormatPositional(LoadString(IDS_PARSE_INT_RANGE), {"0", "360"}),
              "Please enter an integer between 0 and 360.");
    EXPECT_EQ(FormatPositional("%2-%1-%3", {"a", "b"}), "b-a-");
}

TEST(StringsTest, TableLookup) {
    EXPECT_EQ(LoadString(IDS_APP_TITLE), "Quillow");
    EXPECT_EQ(FormatString(IDS_GO_OUTSIDE_RANGE, 11),
              "If you want to go to the question number '11',\n\nyou have to change the current "
              "question range first!");
    EXPECT_EQ(LoadString(4242), "");
    std::set<unsigned> ids;
    for (const auto& entry : StringTable())
        EXPECT_TRUE(ids.insert(entry.id).second) << "string " << entry.id << " twice";
}
