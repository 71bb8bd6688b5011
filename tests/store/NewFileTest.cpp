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

// A data file that cannot be opened, or that another Quillow or qld holds, or none chosen yet,
// gives way to the default file; a missing default file is made from the starter deck beside the
// program, or empty without one. The file held is left to its holder.
TEST_F(NewFileTest, MissingFileFallsBackToTheDefaultFile) {
    struct Case {
        std::string dataFile,
            defaultFolder;  // no data file: a first start; no folder: the program's
        int defaultRecords; // -1: no default file yet
        int starterRecords; // -1: no starter deck beside the program
        bool held = false;
        void (CQuestionFile::*open)() = &CQuestionFile::Load;
    } cases[] = {{"gone.qld", "", -1, -1},
                 {"gone.qld", "", 4, 4},
                 {"", "", -1, -1},
                 {"gone.qld", "data/", -1, -1},
                 {"gone.qld", "data/", -1, 3},
                 {"", "data/", -1, 3},
                 {"", "data/", 2, 3},
                 {"held.qld", "", 4, -1, true},
                 {"held.qld", "", -1, -1, true, &CQuestionFile::CreateNew}};
    for (const auto& c : cases) {
        SCOPED_TRACE("data file '" + c.dataFile + "', default folder '" + c.defaultFolder +
                     "', starter " + std::to_string(c.starterRecords));
        TempDir folder;
        const std::string dataFile = c.dataFile.empty() ? "" : folder.File(c.dataFile);
        TestHost fallback(dataFile, folder.Path());
        fallback.defaultDataFolder = c.defaultFolder.empty() ? "" : folder.File(c.defaultFolder);
        std::filesystem::create_directories(folder.File(c.defaultFolder));
        const std::string defaultFile = folder.File(c.defaultFolder + "Quillow.qld");
        const Bytes starter = CurrentFile(c.starterRecords, 0, 1, 0, 0, c.starterRecords - 1);
        if (c.starterRecords >= 0)
            WriteFileBytes(folder.File("Quillow.qld"), starter);
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
        EXPECT_EQ(boxes.Texts(),
                  dataFile.empty()
                      ? std::vector<std::string>{}
                      : std::vector<std::string>{
                            (c.held ? "The QLD file is open in another Quillow or in qld:"
                                    : "File not found.") +
                            ("\n\n" + dataFile +
                             "\n\nAfter this message, I'll read a default data file.")});
        EXPECT_EQ(fallback.GetDataFilePath(), defaultFile);
        const bool fromStarter = c.defaultRecords < 0 && c.starterRecords >= 0;
        const int records = fromStarter ? c.starterRecords : std::max(c.defaultRecords, 0);
        EXPECT_EQ(file.header.recordCount, records);
        const Bytes made = ReadFileBytes(defaultFile);
        ASSERT_EQ(made.size(), RecordOffset(records));
        if (fromStarter) {
            EXPECT_EQ(made, WithInt32(starter, 28, host.now)) << "the starter deck, saved now";
        }
        if (c.held)
            EXPECT_EQ(ReadFileBytes(dataFile), CurrentFile(2));
        else
            EXPECT_FALSE(FileExists(folder.File("gone.qld")));
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
