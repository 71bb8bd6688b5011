#include "StoreFixture.h"

#include "ResourceIds.h"
#include "Strings.h"

#include <filesystem>

using NewFileTest = StoreTest;

TEST_F(NewFileTest, NewFileIsExactlyTheDefaultHeader) {
    CQuestionFile file(host);
    ASSERT_EQ(ExitStatusOf([&] { file.CreateNew(); }), -1);
    Bytes expected(104, 0);
    PutInt32At(expected, 0, 200);
    PutInt32At(expected, 12, 1);
    PutInt32At(expected, 28, host.now);
    PutInt32At(expected, 64, 1);
    PutInt32At(expected, 76, 19);
    EXPECT_EQ(DataBytes(), expected);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(file.GetFileTitle(), "deck.qld");
}

TEST_F(NewFileTest, CreateNewReplacesAnExistingFile) {
    WriteFileBytes(DataPath(), CurrentFile(3));
    CQuestionFile file(host);
    file.CreateNew();
    EXPECT_EQ(DataBytes().size(), 104u);
    EXPECT_EQ(file.header.recordCount, 0);
}

TEST_F(NewFileTest, AppendedRecordsLandInTheirSlots) {
    CQuestionFile file(host);
    file.CreateNew();
    file.AppendRecord();
    file.AppendRecord();
    Bytes bytes = DataBytes();
    ASSERT_EQ(bytes.size(), 104u + 2 * 1052);
    EXPECT_EQ(Int32At(bytes, 4), 2);
    EXPECT_EQ(Int32At(bytes, 104), 0);
    EXPECT_EQ(Int32At(bytes, 104 + 1052), 1);
    EXPECT_EQ(file.workRecord.number, 1);
}

TEST_F(NewFileTest, CannotCreateEndsWithMessage105) {
    host.SetDataFilePath(dir.File("no-such-folder/deck.qld"));
    CQuestionFile file(host);
    EXPECT_EQ(ExitStatusOf([&] { file.CreateNew(); }), 1);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Cannot create a QLD file");
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillow");
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
}

TEST_F(NewFileTest, MissingFileFallsBackToANewDefaultFile) {
    const std::string missing = dir.File("gone.qld");
    host.SetDataFilePath(missing);
    CQuestionFile file(host);
    LoadFile(file);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"File not found.\n\n" + missing +
                                                      "\n\nAfter this message, I'll read a "
                                                      "default data file."});
    EXPECT_EQ(host.GetDataFilePath(), dir.File("Quillow.qld"));
    EXPECT_EQ(ReadFileBytes(dir.File("Quillow.qld")).size(), 104u);
    EXPECT_FALSE(FileExists(missing));
}

TEST_F(NewFileTest, MissingFileFallsBackToTheExistingDefaultFile) {
    WriteFileBytes(dir.File("Quillow.qld"), CurrentFile(4));
    host.SetDataFilePath(dir.File("gone.qld"));
    CQuestionFile file(host);
    LoadFile(file);
    EXPECT_EQ(file.header.recordCount, 4);
    EXPECT_EQ(file.GetFilePath(), dir.File("Quillow.qld"));
    EXPECT_EQ(ReadFileBytes(dir.File("Quillow.qld")).size(), 104u + 4 * 1052);
}

// An application may keep the default file apart from the program (an installed one does).
TEST_F(NewFileTest, DefaultFileLivesInTheHostsDefaultDataFolder) {
    const std::string data = dir.File("data/");
    std::filesystem::create_directory(data);
    host.defaultDataFolder = data;
    host.SetDataFilePath(dir.File("gone.qld"));
    CQuestionFile file(host);
    LoadFile(file);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(host.GetDataFilePath(), data + "Quillow.qld");
    EXPECT_EQ(ReadFileBytes(data + "Quillow.qld").size(), 104u);
    EXPECT_FALSE(FileExists(dir.File("Quillow.qld")));
}

TEST_F(NewFileTest, UnopenableDefaultFolderEndsWithMessage105) {
    TestHost lost(dir.File("gone.qld"), dir.File("no-such-folder/"));
    CQuestionFile file(lost);
    EXPECT_EQ(ExitStatusOf([&] { file.Load(); }), 1);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, "Cannot create a QLD file");
}
