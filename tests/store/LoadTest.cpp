#include "StoreFixture.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

#include <sys/stat.h>

using LoadTest = StoreTest;

// Damaged schedule state in a file is repaired on loading and the repair reaches the disk; the
// rest of the header and the records stay as they were.
TEST_F(LoadTest, RepairsTheScheduleStateAndKeepsTheRest) {
    using State = std::array<int, 5>; // position, review mode, step index, range from, range to
    const std::pair<State, State> cases[] = {
        {{3, 2, 1, 5, 2}, {3, 1, 0, 0, 19}},           // range backwards
        {{3, 2, 1, 0, 1000}, {3, 1, 0, 0, 19}},        // range beyond 1000 questions
        {{30, 0, 2, 0, 19}, {0, 0, 2, 0, 19}},         // position beyond the range
        {{-4, 0, 2, 10, 19}, {10, 0, 2, 10, 19}},      // position before the range
        {{3, 4, 2, 0, 9}, {3, 1, 0, 0, 19}},           // review mode unknown
        {{3, 0, 6, 0, 9}, {3, 0, 0, 0, 9}},            // step index past the sequence
        {{3, 0, -2, 0, 9}, {3, 0, 0, 0, 9}},           // negative step index
        {{2, 0, 5, 0, 19}, {2, 0, 5, 0, 19}},          // nothing to repair
        {{999, 3, 0, 999, 999}, {999, 3, 0, 999, 999}} // the last of 1000 questions alone
    };
    const auto fileWith = [](const State& s) {
        return WithInt32(CurrentFile(1000, s[0], s[1], s[2], s[3], s[4]), 12, 42); // pop-up 42
    };
    for (const auto& [stored, loaded] : cases) {
        SCOPED_TRACE("stored " + ::testing::PrintToString(stored));
        WriteFileBytes(DataPath(), fileWith(stored));
        CQuestionFile file(host);
        EXPECT_FALSE(LeavesUnflushed([&] { LoadFile(file); })) << "the header not flushed";
        EXPECT_EQ(DataBytes(), Saved(fileWith(loaded)))
            << "loaded as " << ::testing::PrintToString(loaded);
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

// A file that is not a data file of a known version is refused with message 106 naming
// it, is left byte for byte as it was, and gives way to the default file at the next start. A
// defective default file (as a copy cut short leaves it) is kept aside under a free name, and the
// starter deck takes its place.
TEST_F(LoadTest, RefusesFilesItCannotRead) {
    Bytes missingRecord = CurrentFile(3), oldMissingRecord = OldFile(100, {0, 1});
    missingRecord.pop_back();
    oldMissingRecord.pop_back();
    const Bytes starter = CurrentFile(3, 0, 1, 0, 0, 2);
    WriteFileBytes(dir.File("Quillow.qld"), starter);
    host.defaultDataFolder = dir.File("data/");
    std::filesystem::create_directories(host.defaultDataFolder);
    const std::string defaultFile = dir.File("data/Quillow.qld");
    int asides = 0;
    for (const Bytes& stored :
         {Bytes{}, WithInt32(Bytes(103, 0), 0, 200), WithInt32(CurrentFile(0), 4, -1),
          CurrentFile(1001), missingRecord, oldMissingRecord, WithInt32(CurrentFile(1), 0, 0),
          WithInt32(CurrentFile(1), 0, 201)}) {
        SCOPED_TRACE(::testing::Message() << "file of " << stored.size() << " bytes");
        WriteFileBytes(DataPath(), stored);
        boxes.Clear();
        host.SetDataFilePath(DataPath());
        CQuestionFile file(host);
        EXPECT_TRUE(ShownFailure(file.Load()));
        EXPECT_EQ(boxes.Texts(), std::vector{FormatString(IDS_DEFECTIVE_HEADER, DataPath())});
        EXPECT_EQ(DataBytes(), stored);
        EXPECT_EQ(host.GetDataFilePath(), defaultFile);
        EXPECT_FALSE(FileExists(DataPath() + ".bak"));

        const std::string aside =
            defaultFile + ".defective" + (asides++ ? "." + std::to_string(asides) : "");
        WriteFileBytes(defaultFile, stored);
        boxes.Clear();
        CQuestionFile defaultDeck(host);
        LoadFile(defaultDeck);
        EXPECT_EQ(boxes.Texts(),
                  std::vector{FormatString(IDS_DEFAULT_FILE_SET_ASIDE, defaultFile, aside)});
        EXPECT_EQ(ReadFileBytes(aside), stored);
        EXPECT_EQ(ReadFileBytes(defaultFile), Saved(starter));
    }
}

// A file that cannot be opened gives way to the default file, made from the starter deck beside
// the program when there is none; a held default file is refused. An error is no missing
// file: the default file is never made over one that is there, and the message names the error.
TEST_F(LoadTest, OpensTheDefaultFileInstead) {
    const Bytes starter = CurrentFile(3, 0, 1, 0, 0, 2), kept = CurrentFile(1);
    WriteFileBytes(dir.File("Quillow.qld"), starter);
    host.defaultDataFolder = dir.File("data/");
    std::filesystem::create_directories(host.defaultDataFolder);
    const std::string deck = DataPath(), gone = dir.File("gone.qld"),
                      defaultFile = dir.File("data/Quillow.qld"), eio = std::strerror(EIO);
    const std::string notFound = FormatString(IDS_FILE_NOT_FOUND, gone),
                      inUse = FormatString(IDS_FILE_IN_USE, deck),
                      defaultInUse = FormatString(IDS_DEFAULT_FILE_IN_USE, defaultFile),
                      cannotOpen = FormatString(IDS_CANNOT_OPEN, defaultFile, eio),
                      cannotOpenDefault = FormatString(IDS_CANNOT_OPEN_DEFAULT, defaultFile, eio);
    // The data file (empty: a first start) and whether it is held; the default file missing (0),
    // held (-1) or failing to open (2); the messages; whether the program ends.
    const std::tuple<std::string, bool, int, std::vector<std::string>, bool> cases[] = {
        {gone, false, 0, {notFound}, false},
        {"", false, 0, {}, false},
        {deck, true, 0, {inUse}, false},
        {deck, true, -1, {inUse, defaultInUse}, true},
        {gone, false, 2, {notFound, cannotOpenDefault}, true},
        {defaultFile, false, 2, {cannotOpen, cannotOpenDefault}, true}};
    for (const auto& [dataFile, held, defaultState, shown, ends] : cases) {
        SCOPED_TRACE("data file '" + dataFile + "', default " + std::to_string(defaultState));
        ::unsetenv("QUILLOW_FAIL_OPEN");
        std::filesystem::remove(defaultFile);
        WriteFileBytes(deck, CurrentFile(2));
        if (defaultState != 0)
            WriteFileBytes(defaultFile, kept);
        CFile holder, defaultHolder;
        ASSERT_TRUE(!held || holder.Open(deck, CFile::modeRead | CFile::shareExclusive));
        ASSERT_TRUE(defaultState >= 0 ||
                    defaultHolder.Open(defaultFile, CFile::modeRead | CFile::shareExclusive));
        if (defaultState == 2)
            ::setenv("QUILLOW_FAIL_OPEN", defaultFile.c_str(), 1);
        host.SetDataFilePath(dataFile);
        boxes.Clear();
        CQuestionFile file(host);
        EXPECT_EQ(ShownFailure(file.Load()), ends);
        EXPECT_EQ(boxes.Texts(), shown);
        EXPECT_EQ(host.GetDataFilePath(), defaultFile);
        EXPECT_EQ(DataBytes(), CurrentFile(2));
        EXPECT_FALSE(FileExists(gone));
        EXPECT_EQ(ReadFileBytes(defaultFile), defaultState == 0 ? Saved(starter) : kept);
    }
}

// A new file that cannot be made is refused, and the next start opens the file that was
// open before.
TEST_F(LoadTest, FailedNewFileKeepsThePathOfTheOpenOne) {
    WriteFileBytes(DataPath(), CurrentFile(2));
    CQuestionFile file(host);
    LoadFile(file);
    ASSERT_FALSE(ShownFailure(file.SaveAndClose()));
    host.SetDataFilePath(dir.File("no/such.qld"));
    EXPECT_TRUE(ShownFailure(file.CreateNew()));
    EXPECT_EQ(boxes.Texts(), std::vector{LoadString(IDS_CANNOT_CREATE)});
    EXPECT_EQ(host.GetDataFilePath(), DataPath());
}

// A file deleted, replaced, shortened or copied over under the program is not written: message
// 119 names it.
TEST_F(LoadTest, FileChangedUnderItIsNotWritten) {
    const Bytes ours = CurrentFile(5), theirs = CurrentFile(7), loaded = Saved(ours);
    const Bytes otherOptions = WithInt32(loaded, 12, 9), otherAnswer = WithInt32(loaded, 700, 7);
    const auto changeTime = [&] {
        struct stat st {};
        ::stat(DataPath().c_str(), &st);
        return std::pair(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
    };
    // As cp writes: the same file, the same length. The change time moves with the clock's tick.
    const auto copyOver = [&](const Bytes& bytes) {
        for (const auto before = changeTime(); changeTime() == before;)
            WriteFileBytes(DataPath(), bytes);
    };
    const auto replace = [&] {
        WriteFileBytes(dir.File("saved.qld"), theirs);
        std::filesystem::rename(dir.File("saved.qld"), DataPath());
    };
    // The change, and the bytes left at the path (none: no file).
    const std::pair<std::function<void()>, Bytes> cases[] = {
        {[&] { std::filesystem::remove(DataPath()); }, {}},
        {replace, theirs},
        {[&] { std::filesystem::resize_file(DataPath(), 104); },
         Bytes(loaded.begin(), loaded.begin() + 104)},
        {[&] { WriteFileBytes(DataPath(), otherOptions); }, otherOptions},
        {[&] { copyOver(otherAnswer); }, otherAnswer}};
    for (const auto& [change, left] : cases) {
        WriteFileBytes(DataPath(), ours);
        CQuestionFile file(host);
        LoadFile(file);
        change();
        boxes.Clear();
        EXPECT_TRUE(ShownFailure(file.AppendRecord()));
        EXPECT_EQ(boxes.Texts(), std::vector{FormatString(IDS_FILE_CHANGED, DataPath())});
        EXPECT_EQ(FileExists(DataPath()) ? DataBytes() : Bytes{}, left);
    }
}
