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

// A data file that cannot be opened, or that another Quillow or qld holds, gives way to the
// default file, created when missing; the file held is left to its holder.
TEST_F(NewFileTest, MissingFileFallsBackToTheDefaultFile) {
    struct Case {
        std::string dataFile, defaultFolder; // empty folder: the program's
        int defaultRecords;                  // -1: no default file yet
        bool held = false;
        void (CQuestionFile::*open)() = &CQuestionFile::Load;
    } cases[] = {{"gone.qld", "", -1},
                 {"gone.qld", "", 4},
                 {"", "", -1},
                 {"gone.qld", "data/", -1},
                 {"held.qld", "", 4, true},
                 {"held.qld", "", -1, true, &CQuestionFile::CreateNew}};
    for (const auto& c : cases) {
        SCOPED_TRACE("data file '" + c.dataFile + "', default folder '" + c.defaultFolder + "'");
        TempDir folder;
        const std::string dataFile = folder.File(c.dataFile);
        TestHost fallback(dataFile, folder.Path());
        fallback.defaultDataFolder = c.defaultFolder.empty() ? "" : folder.File(c.defaultFolder);
        std::filesystem::create_directories(folder.File(c.defaultFolder));
        const std::string defaultFile = folder.File(c.defaultFolder + "Quillow.qld");
        if (c.defaultRecords >= 0)
            WriteFileBytes(defaultFile, CurrentFile(c.defaultRecords));
        CFile holder;
        if (c.held) {
            WriteFileBytes(dataFile, CurrentFile(2));
            ASSERT_TRUE(holder.Open(dataFile, CFile::modeReadWrite | CFile::shareExclusive));
        }
        boxes.Clear();
        CQuestionFile file(fallback);
        ASSERT_EQ(ExitStatusOf([&] { (file.*c.open)(); }), -1);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{
                                     (c.held ? "The QLD file is open in another Quillow or in qld:"
                                             : "File not found.") +
                                     ("\n\n" + dataFile +
                                      "\n\nAfter this message, I'll read a default data file.")});
        EXPECT_EQ(fallback.GetDataFilePath(), defaultFile);
        const int records = std::max(c.defaultRecords, 0);
        EXPECT_EQ(file.header.recordCount, records);
        EXPECT_EQ(ReadFileBytes(defaultFile).size(), RecordOffset(records));
        EXPECT_EQ(ReadFileBytes(folder.File(c.held ? "held.qld" : "gone.qld")),
                  c.held ? CurrentFile(2) : Bytes{});
    }
}

// Without a default file to turn to, the program ends: one that cannot be created, or one that
// another Quillow or qld holds.
TEST_F(NewFileTest, NoUsableDefaultFileEndsTheProgram) {
    host.SetDataFilePath(dir.File("no-such-folder/deck.qld"));
    CQuestionFile file(host);
    EXPECT_EQ(ExitStatusOf([&] { file.CreateNew(); }), 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Cannot create a QLD file"});

    const std::string defaultFile = dir.File("Quillow.qld");
    WriteFileBytes(defaultFile, CurrentFile(1));
    CFile holder;
    ASSERT_TRUE(holder.Open(defaultFile, CFile::modeRead | CFile::shareExclusive));
    boxes.Clear();
    EXPECT_EQ(ExitStatusOf([&] { file.Load(); }), 1);
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_EQ(boxes.Texts()[1],
              "The default QLD file is open in another Quillow or in qld:\n\n" + defaultFile);
    EXPECT_EQ(ReadFileBytes(defaultFile), CurrentFile(1));
}
