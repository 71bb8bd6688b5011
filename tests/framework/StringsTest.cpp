#include "Strings.h"
#include "ResourceIds.h"
#include "StringTable.h"

#include <gtest/gtest.h>

#include <set>

TEST(StringsTest, PrintfPositionalAndTheTable) {
    EXPECT_EQ(FormatPrintf("From: %3d|%3d|%3d", {1, 20, 1000}), "From:   1| 20|1000");
    EXPECT_EQ(FormatPrintf("%s!", {"a/b c.qld"}), "a/b c.qld!");
    EXPECT_EQ(FormatPrintf("%u %d", {-1, -1}), "4294967295 -1");
    EXPECT_EQ(FormatPrintf("100%% %d", {}), "100% ");
    EXPECT_EQ(FormatPrintf("%x %", {7}), "%x %");
    EXPECT_EQ(FormatPositional("%2-%1-%3", {"a", "b"}), "b-a-");
    EXPECT_EQ(FormatString(IDS_GO_OUTSIDE_RANGE, 11),
              "If you want to go to the question number '11',\n\nyou have to change the current "
              "question range first!");
    EXPECT_EQ(LoadString(4242), "");
    std::set<unsigned> ids;
    for (const auto& entry : StringTable())
        EXPECT_TRUE(ids.insert(entry.id).second) << "string " << entry.id << " twice";
}
