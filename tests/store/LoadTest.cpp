#include "StoreFixture.h"

using LoadTest = StoreTest;

namespace {

struct ScheduleState {
    int position, reviewMode, stepIndex, rangeFrom, rangeTo;
};

} // namespace

// Damaged schedule state in a file is repaired on loading, and the repair reaches the disk.
TEST_F(LoadTest, RepairsTheScheduleState) {
    struct Case {
        ScheduleState stored, loaded;
    } cases[] = {
        {{3, 2, 1, 5, 2}, {3, 1, 0, 0, 19}},           // range backwards
        {{3, 2, 1, 0, 1000}, {3, 1, 0, 0, 19}},        // range beyond 1000 questions
        {{3, 2, 1, -1, 5}, {3, 1, 0, 0, 19}},          // negative range start
        {{30, 0, 2, 0, 19}, {0, 0, 2, 0, 19}},         // position beyond the range
        {{-4, 0, 2, 10, 19}, {10, 0, 2, 10, 19}},      // position before the range
        {{3, 4, 2, 0, 9}, {3, 1, 0, 0, 19}},           // review mode unknown
        {{3, -1, 2, 0, 9}, {3, 1, 0, 0, 19}},          // review mode negative
        {{3, 0, 6, 0, 9}, {3, 0, 0, 0, 9}},            // step index past the sequence
        {{3, 0, -2, 0, 9}, {3, 0, 0, 0, 9}},           // negative step index
        {{999, 3, 0, 999, 999}, {999, 3, 0, 999, 999}} // the last question alone is fine
    };
    for (const auto& c : cases) {
        const auto& s = c.stored;
        WriteFileBytes(DataPath(), CurrentFile(2, s.position, s.reviewMode, s.stepIndex,
                                               s.rangeFrom, s.rangeTo));
        CQuestionFile file(host);
        LoadFile(file);
        Bytes bytes = DataBytes();
        SCOPED_TRACE(::testing::Message()
                     << "stored position " << s.position << " mode " << s.reviewMode << " step "
                     << s.stepIndex << " range " << s.rangeFrom << ".." << s.rangeTo);
        EXPECT_EQ(Int32At(bytes, 8), c.loaded.position);
        EXPECT_EQ(Int32At(bytes, 64), c.loaded.reviewMode);
        EXPECT_EQ(Int32At(bytes, 68), c.loaded.stepIndex);
        EXPECT_EQ(Int32At(bytes, 72), c.loaded.rangeFrom);
        EXPECT_EQ(Int32At(bytes, 76), c.loaded.rangeTo);
        EXPECT_EQ(Int32At(bytes, 28), host.now);
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

TEST_F(LoadTest, KeepsOptionsReservedBytesAndRecords) {
    Bytes stored = CurrentFile(3, 2, 0, 1, 0, 19);
    PutInt32At(stored, 12, 42);
    PutInt32At(stored, 20, 0x13);
    stored[62] = 0xAB;
    stored[90] = 0xCD;
    WriteFileBytes(DataPath(), stored);
    CQuestionFile file(host);
    LoadFile(file);
    Bytes bytes = DataBytes();
    PutInt32At(stored, 28, host.now);
    EXPECT_EQ(bytes, stored);
}

// A file that is not a data file of a known version ends the program with message 106 and
// is left byte for byte as it was.
TEST_F(LoadTest, RefusesFilesItCannotRead) {
    Bytes shortHeader(103, 0);
    PutInt32At(shortHeader, 0, 200);
    Bytes negativeCount = CurrentFile(0);
    PutInt32At(negativeCount, 4, -1);
    Bytes hugeCount = CurrentFile(0);
    PutInt32At(hugeCount, 4, 1001);
    Bytes missingRecord = CurrentFile(3);
    missingRecord.resize(104 + 2 * 1052 + 1051);
    Bytes versionZero = CurrentFile(1);
    PutInt32At(versionZero, 0, 0);
    Bytes versionTooNew = CurrentFile(1);
    PutInt32At(versionTooNew, 0, 201);
    Bytes oldShortRecord = OldFile(100, {0, 1});
    oldShortRecord.pop_back();
    Bytes text = Bytes{'q', 'u', 'e', 's', 't', 'i', 'o', 'n', '\t', 'a', 'n', 's', 'w', 'e', 'r'};
    text.resize(2000, 'x');

    for (const Bytes& stored : {Bytes{}, shortHeader, negativeCount, hugeCount, missingRecord,
                                versionZero, versionTooNew, oldShortRecord, text}) {
        WriteFileBytes(DataPath(), stored);
        boxes.Clear();
        CQuestionFile file(host);
        SCOPED_TRACE(::testing::Message() << "file of " << stored.size() << " bytes");
        EXPECT_EQ(ExitStatusOf([&] { file.Load(); }), 1);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Defective Header in the QLD file"});
        EXPECT_EQ(DataBytes(), stored);
        EXPECT_FALSE(FileExists(DataPath() + ".bak"));
    }
}

TEST_F(LoadTest, AFolderAsDataFileFallsBack) {
    host.SetDataFilePath(dir.Path());
    CQuestionFile file(host);
    LoadFile(file);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(host.GetDataFilePath(), dir.File("Quillow.qld"));
}

TEST_F(LoadTest, SaveAndCloseWritesTheHeader) {
    WriteFileBytes(DataPath(), CurrentFile(2, 1));
    CQuestionFile file(host);
    LoadFile(file);
    file.header.popupMinutes = 7;
    host.now += 60;
    file.SaveAndClose();
    EXPECT_FALSE(file.IsOpen());
    Bytes bytes = DataBytes();
    EXPECT_EQ(Int32At(bytes, 12), 7);
    EXPECT_EQ(Int32At(bytes, 28), host.now);
}

TEST_F(LoadTest, DestructionWritesNothing) {
    WriteFileBytes(DataPath(), CurrentFile(2, 1));
    Bytes loaded;
    {
        CQuestionFile file(host);
        LoadFile(file);
        loaded = DataBytes();
        file.header.popupMinutes = 7;
    }
    EXPECT_EQ(DataBytes(), loaded);
}
