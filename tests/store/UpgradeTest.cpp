#include "StoreFixture.h"

#include <filesystem>

using UpgradeTest = StoreTest;

// An older file loads as version 200 with the Normal mode over all its records. Below 150 the
// records move behind the 104-byte header to the slots their numbers give, a damaged or repeated
// number to its own slot or the first free one, and the old file is kept beside it.
TEST_F(UpgradeTest, OlderVersionsBecomeVersion200) {
    struct Case {
        Bytes stored;
        std::vector<int> fileRecordInSlot;
        int position;
    } cases[] = {
        {OldFile(100, {0, 1, 2}), {0, 1, 2}, 0},
        {OldFile(120, {2, 0, 1}), {1, 2, 0}, 0},
        // From the last: -3 takes its own slot 3, 7 its own slot 2, the first 0 slot 0, and the
        // repeated 0 the first slot still free.
        {OldFile(100, {0, 0, 7, -3}), {1, 0, 2, 3}, 0},
        {OldFile(100, {}), {}, 0},
        {WithInt32(CurrentFile(0, 7, 3, 4, 9, 2), 0, 150), {}, 0},
        {WithInt32(CurrentFile(5, 3, 3, 4, 9, 2), 0, 199), {0, 1, 2, 3, 4}, 3},
    };
    for (const auto& c : cases) {
        const int version = Int32At(c.stored, 0), records = Int32At(c.stored, 4);
        SCOPED_TRACE(::testing::Message()
                     << "version " << version << ", " << records << " records");
        WriteFileBytes(DataPath(), c.stored);
        std::filesystem::remove(DataPath() + ".bak");
        CQuestionFile file(host);
        LoadFile(file);

        const Bytes bytes = DataBytes();
        EXPECT_EQ(bytes.size(), RecordOffset(records));
        EXPECT_EQ(Int32At(bytes, 0), 200);
        EXPECT_EQ(Int32At(bytes, 4), records);
        EXPECT_EQ(Int32At(bytes, 8), c.position);
        EXPECT_EQ(Int32At(bytes, 12), Int32At(c.stored, 12)) << "the pop-up period is kept";
        EXPECT_EQ(Int32At(bytes, 20), Int32At(c.stored, 20)) << "the options are kept";
        for (std::size_t o = 32; o < 62; ++o)
            EXPECT_EQ(bytes[o], 0) << "offset " << o;
        EXPECT_EQ(Int32At(bytes, 64), 1);
        EXPECT_EQ(Int32At(bytes, 68), 0);
        EXPECT_EQ(Int32At(bytes, 72), 0);
        EXPECT_EQ(Int32At(bytes, 76), std::max(records - 1, 0));
        for (int slot = 0; slot < records; ++slot) {
            EXPECT_EQ(Int32At(bytes, RecordOffset(slot)), slot);
            EXPECT_EQ(QuestionAt(bytes, slot),
                      "Q" + std::to_string(c.fileRecordInSlot[std::size_t(slot)]));
        }
        if (version < 150 && records > 0)
            EXPECT_EQ(ReadFileBytes(DataPath() + ".bak"), c.stored);
        else
            EXPECT_FALSE(FileExists(DataPath() + ".bak")) << "nothing was moved";
        EXPECT_TRUE(boxes.Shown().empty());
    }
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
