#include "StoreFixture.h"

#include <filesystem>

using UpgradeTest = StoreTest;

namespace {

void ExpectUpgradedHeader(const Bytes& bytes, int records, int rangeTo) {
    EXPECT_EQ(bytes.size(), 104u + std::size_t(records) * 1052);
    EXPECT_EQ(Int32At(bytes, 0), 200);
    EXPECT_EQ(Int32At(bytes, 4), records);
    EXPECT_EQ(Int32At(bytes, 64), 1);
    EXPECT_EQ(Int32At(bytes, 68), 0);
    EXPECT_EQ(Int32At(bytes, 72), 0);
    EXPECT_EQ(Int32At(bytes, 76), rangeTo);
}

} // namespace

TEST_F(UpgradeTest, Version100RecordsMoveBehindTheLongHeader) {
    const Bytes old = OldFile(100, {0, 1, 2});
    WriteFileBytes(DataPath(), old);
    CQuestionFile file(host);
    LoadFile(file);

    Bytes bytes = DataBytes();
    ExpectUpgradedHeader(bytes, 3, 2);
    EXPECT_EQ(Int32At(bytes, 12), 5) << "the pop-up period is kept";
    EXPECT_EQ(Int32At(bytes, 20), 8) << "the options are kept";
    for (std::size_t o = 32; o < 62; ++o)
        EXPECT_EQ(bytes[o], 0) << "offset " << o;
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(Int32At(bytes, 104 + std::size_t(slot) * 1052), slot);
        EXPECT_EQ(QuestionAt(bytes, slot), TaggedText('Q', slot));
        EXPECT_EQ(AnswerAt(bytes, slot), TaggedText('A', slot));
    }
    EXPECT_EQ(ReadFileBytes(DataPath() + ".bak"), old) << "the old file is kept beside it";
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(UpgradeTest, RecordsLandAtTheSlotsTheirNumbersGive) {
    // File record i carries the texts "Qi" and is numbered as listed.
    WriteFileBytes(DataPath(), OldFile(120, {2, 0, 1}));
    CQuestionFile file(host);
    LoadFile(file);
    Bytes bytes = DataBytes();
    ExpectUpgradedHeader(bytes, 3, 2);
    EXPECT_EQ(QuestionAt(bytes, 2), "Q0");
    EXPECT_EQ(QuestionAt(bytes, 0), "Q1");
    EXPECT_EQ(QuestionAt(bytes, 1), "Q2");
}

TEST_F(UpgradeTest, DamagedNumbersNeitherOverwriteNorEscape) {
    WriteFileBytes(DataPath(), OldFile(100, {0, 0, 7, -3}));
    CQuestionFile file(host);
    LoadFile(file);
    Bytes bytes = DataBytes();
    ExpectUpgradedHeader(bytes, 4, 3);
    // From the last: -3 takes its own slot 3, 7 its own slot 2, the first 0 slot 0, and the
    // repeated 0 the first slot still free.
    EXPECT_EQ(QuestionAt(bytes, 3), "Q3");
    EXPECT_EQ(QuestionAt(bytes, 2), "Q2");
    EXPECT_EQ(QuestionAt(bytes, 0), "Q1");
    EXPECT_EQ(QuestionAt(bytes, 1), "Q0");
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(Int32At(bytes, 104 + std::size_t(slot) * 1052), slot);
}

TEST_F(UpgradeTest, Version150GetsTheRangeOfItsRecords) {
    Bytes v150 = CurrentFile(0, 7, 3, 4, 9, 2);
    PutInt32At(v150, 0, 150);
    WriteFileBytes(DataPath(), v150);
    CQuestionFile file(host);
    LoadFile(file);
    Bytes bytes = DataBytes();
    ExpectUpgradedHeader(bytes, 0, 0);
    EXPECT_EQ(Int32At(bytes, 8), 0);

    Bytes v199 = CurrentFile(5, 3, 3, 4, 9, 2);
    PutInt32At(v199, 0, 199);
    WriteFileBytes(DataPath(), v199);
    CQuestionFile other(host);
    LoadFile(other);
    ExpectUpgradedHeader(DataBytes(), 5, 4);
    EXPECT_EQ(Int32At(DataBytes(), 8), 3);
}

TEST_F(UpgradeTest, AnEmptyOldFileOfJustItsShortHeaderLoads) {
    WriteFileBytes(DataPath(), OldFile(100, {}));
    CQuestionFile file(host);
    LoadFile(file);
    ExpectUpgradedHeader(DataBytes(), 0, 0);
    EXPECT_FALSE(FileExists(DataPath() + ".bak")) << "nothing was moved";
}

TEST_F(UpgradeTest, NoBackupMeansNoMove) {
    const Bytes old = OldFile(100, {0, 1});
    WriteFileBytes(DataPath(), old);
    std::filesystem::create_directory(DataPath() + ".bak");
    CQuestionFile file(host);
    EXPECT_EQ(ExitStatusOf([&] { file.Load(); }), 1);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{"Cannot write the QLD file\n\n" + DataPath() + ".bak"});
    EXPECT_EQ(DataBytes(), old);
}
