#include "StoreFixture.h"

#include <filesystem>

using NewFileTest = StoreTest;

TEST_F(NewFileTest, NewFileIsJustTheHeaderAndRecordsGoToTheirSlots) {
    WriteFileBytes(DataPath(), CurrentFile(3));
    CQuestionFile file(host);
    ASSERT_EQ(ExitStatusOf([&] { file.CreateNew(); }), -1);
    DeckSpec deck; // pop-up period 1, the Normal mode over questions 1 to 20
    EXPECT_EQ(DataBytes(), WithInt32(MakeDataFile(deck), 28, host.now))
        << "the existing file is replaced by the header alone";

    SetFieldText(file.workRecord.question, "the last question shown");
    SetFieldText(file.workRecord.answer, "its answer");
    file.workRecord.correctCount = 3;
    file.AppendRecord();
    file.AppendRecord();
    deck.cards.resize(2);
    EXPECT_EQ(DataBytes(), WithInt32(MakeDataFile(deck), 28, host.now))
        << "blank records numbered 0 and 1 at 104 and 1156";
    EXPECT_TRUE(boxes.Shown().empty());
}

// A data file that cannot be opened gives way to the default file, created when missing.
TEST_F(NewFileTest, MissingFileFallsBackToTheDefaultFile) {
    struct Case {
        std::string dataFile, defaultFolder; // empty folder: the program's
        int defaultRecords;                  // -1: no default file yet
    } cases[] = {
        {"gone.qld", "", -1}, {"gone.qld", "", 4}, {"", "", -1}, {"gone.qld", "data/", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE("data file '" + c.dataFile + "', default folder '" + c.defaultFolder + "'");
        TempDir folder;
        TestHost fallback(folder.File(c.dataFile), folder.Path());
        fallback.defaultDataFolder = c.defaultFolder.empty() ? "" : folder.File(c.defaultFolder);
        std::filesystem::create_directories(folder.File(c.defaultFolder));
        const std::string defaultFile = folder.File(c.defaultFolder + "Quillow.qld");
        if (c.defaultRecords >= 0)
            WriteFileBytes(defaultFile, CurrentFile(c.defaultRecords));
        boxes.Clear();
        CQuestionFile file(fallback);
        LoadFile(file);
        EXPECT_EQ(boxes.Texts(),
                  std::vector<std::string>{"File not found.\n\n" + folder.File(c.dataFile) +
                                           "\n\nAfter this message, I'll read a "
                                           "default data file."});
        EXPECT_EQ(fallback.GetDataFilePath(), defaultFile);
        const int records = std::max(c.defaultRecords, 0);
        EXPECT_EQ(file.header.recordCount, records);
        EXPECT_EQ(ReadFileBytes(defaultFile).size(), RecordOffset(records));
        EXPECT_FALSE(FileExists(folder.File("gone.qld")));
    }
}

TEST_F(NewFileTest, CannotCreateEndsWithMessage105) {
    host.SetDataFilePath(dir.File("no-such-folder/deck.qld"));
    CQuestionFile file(host);
    EXPECT_EQ(ExitStatusOf([&] { file.CreateNew(); }), 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Cannot create a QLD file"});
}

// A file that another Quillow or qld holds is never written: Load and CreateNew turn to the
// default file instead, and end when that one is held too.
TEST_F(NewFileTest, FileInUseIsLeftToItsHolder) {
    const Bytes held = CurrentFile(2), defaultDeck = CurrentFile(1);
    const std::string defaultFile = dir.File("Quillow.qld");
    const std::string inUse = "The QLD file is open in another Quillow or in qld:\n\n" +
                              DataPath() + "\n\nAfter this message, I'll read a default data file.";
    struct Case {
        void (CQuestionFile::*open)();
        bool defaultHeld;
    } cases[] = {{&CQuestionFile::Load, false},
                 {&CQuestionFile::CreateNew, false},
                 {&CQuestionFile::Load, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "default file held: " << c.defaultHeld);
        WriteFileBytes(DataPath(), held);
        WriteFileBytes(defaultFile, defaultDeck);
        host.SetDataFilePath(DataPath());
        boxes.Clear();
        CFile holder, defaultHolder;
        ASSERT_TRUE(holder.Open(DataPath(), CFile::modeReadWrite | CFile::shareExclusive));
        if (c.defaultHeld) {
            ASSERT_TRUE(defaultHolder.Open(defaultFile, CFile::modeRead | CFile::shareExclusive));
        }
        CQuestionFile file(host);
        const int status = ExitStatusOf([&] { (file.*c.open)(); });
        EXPECT_EQ(DataBytes(), held);
        if (c.defaultHeld) {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(boxes.Texts(),
                      (std::vector<std::string>{
                          inUse, "The default QLD file is open in another Quillow or in qld:\n\n" +
                                     defaultFile}));
            EXPECT_EQ(ReadFileBytes(defaultFile), defaultDeck);
        } else {
            EXPECT_EQ(status, -1);
            EXPECT_EQ(boxes.Texts(), std::vector<std::string>{inUse});
            EXPECT_EQ(host.GetDataFilePath(), defaultFile);
            EXPECT_EQ(file.header.recordCount, 1);
        }
    }
}
