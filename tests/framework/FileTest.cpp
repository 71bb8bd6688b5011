#include "File.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(FileTest, ReadsWritesCreatesAndRefuses) {
    TempDir dir;
    WriteFileBytes(dir.File("a.qld"), Bytes(10, 'x'));
    CFile file;
    EXPECT_FALSE(file.Open(dir.File("missing.qld"), CFile::modeReadWrite));
    EXPECT_FALSE(FileExists(dir.File("missing.qld")));
    EXPECT_FALSE(file.Open(dir.Path(), CFile::modeRead)) << "a folder is no file";
    ASSERT_TRUE(file.Open(dir.File("a.qld"), CFile::modeCreate | CFile::modeReadWrite));
    EXPECT_EQ(file.GetLength(), 0) << "creating cuts the old bytes";
    ASSERT_TRUE(file.Write("abcdef", 6));
    ASSERT_TRUE(file.Flush());
    ASSERT_TRUE(file.Seek(4));
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);
    EXPECT_STREQ(buffer, "ef");
    EXPECT_EQ(file.GetFileTitle(), "a.qld");
    EXPECT_FALSE(file.Seek(-1));
    file.Close();
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Flush());
    EXPECT_EQ(ReadFileBytes(dir.File("a.qld")), (Bytes{'a', 'b', 'c', 'd', 'e', 'f'}));
}
