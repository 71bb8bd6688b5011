#include "File.h"
#include "MessageBoxRecorder.h"
#include "NumberParsing.h"
#include "ResourceIds.h"
#include "Strings.h"
#include "TempDir.h"
#include "UserFolders.h"

#include <gtest/gtest.h>

#include <stdlib.h>

// Creating cuts an old file; a missing file, a folder or a locked file does not open; a flush
// that the file system refuses (procfs takes none) fails.
TEST(FileTest, OpensCreatesLocksAndReportsFailures) {
    TempDir dir;
    const std::string path = dir.File("a.qld");
    WriteFileBytes(path, Bytes(10, 'x'));
    CFile file, other;
    EXPECT_FALSE(file.Open(dir.File("missing.qld"), CFile::modeReadWrite));
    EXPECT_FALSE(file.Open(dir.Path(), CFile::modeRead)) << "a folder is no file";
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive));
    bool inUse = false;
    EXPECT_FALSE(other.Open(path, CFile::modeRead | CFile::shareExclusive, &inUse) || !inUse);
    ASSERT_TRUE(file.Write("abc", 3) && file.Flush());
    EXPECT_EQ(ReadFileBytes(path), (Bytes{'a', 'b', 'c'}));
    ASSERT_TRUE(file.Open("/proc/self/comm", CFile::modeRead));
    EXPECT_FALSE(file.Flush());
}

// A plain box gets the exclamation icon and the program's caption; without a window system the
// text goes to the error stream and a question is answered with the choice that changes nothing.
TEST(MessageBoxTest, RecordedOrAnsweredOnTheErrorStream) {
    {
        MessageBoxRecorder boxes;
        AfxMessageBox("plain");
        AfxMessageBox(IDS_INIT_MEMORY_RECORDS, MB_YESNO);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
        EXPECT_EQ(boxes.Shown()[0].caption, "Quillow");
        EXPECT_EQ(boxes.Shown()[1].type, unsigned{MB_YESNO});
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("c", MB_YESNO), IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Quillow: c\n");
}

// Blanks, a sign, digits, blanks, all within the first 31 characters; too large saturates.
TEST(NumberParsingTest, SignedAndUnsigned) {
    const std::string blanks(30, ' '), in31 = blanks + "5";
    const auto both = [](const std::string& text) {
        const auto shown = [](auto parsed) { return parsed ? std::to_string(*parsed) : "-"; };
        return shown(ParseSignedInteger(text)) + " " + shown(ParseUnsignedInteger(text));
    };
    EXPECT_EQ(both(" \t+007 \t"), "7 7");
    EXPECT_EQ(both("-7"), "-7 -");
    EXPECT_EQ(both("12345678901"), "2147483647 4294967295");
    EXPECT_EQ(both("-12345678901"), "-2147483648 -");
    EXPECT_EQ(both(in31), "5 5");
    EXPECT_EQ(both("5" + blanks + "x"), "5 5");
    for (const std::string& text :
         std::initializer_list<std::string>{" " + in31, "12abc", "1 2", "", "+", "-0", "0x10"})
        EXPECT_EQ(both(text), "- -") << "'" << text << "'";
}

TEST(StringsTest, FormatsAndTheTable) {
    EXPECT_EQ(FormatPrintf("%3d|%s|%u %d|100%%|%x %|%d", {1, "a b", -1, -1}),
              "  1|a b|4294967295 -1|100%|%x %|");
    EXPECT_EQ(FormatPositional("%2-%1-%3", {"a", "b"}), "b-a-");
    EXPECT_EQ(FormatString(IDS_DEFECTIVE_HEADER, "/a"), "Defective Header in the QLD file\n\n/a");
    EXPECT_EQ(LoadString(4242), "");
}

// An XDG variable counts when it holds an absolute path; else the folder in the home folder.
TEST(UserFoldersTest, XdgVariablesOrTheHomeFolders) {
    ::setenv("HOME", "/home/someone", 1);
    for (const char* value : {"/x", "/x/", "relative", static_cast<const char*>(nullptr)}) {
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        SCOPED_TRACE(value ? value : "(unset)");
        const bool absolute = value && *value == '/';
        EXPECT_EQ(UserDataHome(), absolute ? "/x/" : "/home/someone/.local/share/");
        EXPECT_EQ(UserConfigHome(), absolute ? "/x/" : "/home/someone/.config/");
    }
}
