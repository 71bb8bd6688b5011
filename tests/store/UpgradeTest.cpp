#include "StoreFixture.h"

#include <filesystem>

namespace fs = std::filesystem;

using UpgradeTest = StoreTest;

// An older file loads as version 200 with the Normal mode over all its records, whether the
// program doing it runs through or is killed at any change of a file and started again. Below
// 150 the records move behind the 104-byte header to the slots their numbers give, a damaged or
// repeated number to its own slot or the first free one, and the old file is kept beside it with
// its permissions, under a name that no file holds yet, beside the file a link points to. A kill
// leaves no file behind that the next start does not remove or make whole, and bytes past the
// records are not carried over. A failed change is reported as a failed write.
TEST_F(UpgradeTest, OlderVersionsBecomeVersion200EvenWhenKilled) {
    const std::string real = dir.File("real.qld"); // the data file is reached through a link
    Bytes longFile = WithInt32(CurrentFile(2, 1, 3, 4, 9, 2), 0, 160);
    longFile.resize(longFile.size() + 65536);
    // The file, and the file's record in each slot after the upgrade.
    const std::pair<Bytes, std::vector<int>> cases[] = {
        {OldFile(120, {2, 0, 1}), {1, 2, 0}},
        // From the last: -3 takes its own slot 3, 7 its own slot 2, the first 0 slot 0, and the
        // repeated 0 the first slot still free.
        {OldFile(100, {0, 0, 7, -3}), {1, 0, 2, 3}},
        {OldFile(100, {}), {}},
        {WithInt32(CurrentFile(0, 0, 3, 4, 9, 2), 0, 150), {}},
        {WithInt32(CurrentFile(5, 3, 3, 4, 9, 2), 0, 199), {0, 1, 2, 3, 4}},
        {longFile, {0, 1}},
    };
    for (const auto& [stored, fileRecordInSlot] : cases) {
        const int version = Int32At(stored, 0), records = Int32At(stored, 4);
        SCOPED_TRACE(::testing::Message()
                     << "version " << version << ", " << records << " records");
        // The position, the pop-up period and the options are kept, the rest of the header is new.
        DeckSpec upgraded{{}, Int32At(stored, 12), Int32At(stored, 20), REVIEW_NORMAL};
        upgraded.position = Int32At(stored, 8);
        upgraded.rangeTo = std::max(records - 1, 0);
        for (int n : fileRecordInSlot)
            upgraded.cards.emplace_back("Q" + std::to_string(n), "A" + std::to_string(n));
        for (int kills = 1;; ++kills) {
            ASSERT_LT(kills, 100) << "the upgrade does not end";
            // The same change failing says that the file could not be written.
            WriteFileBytes(DataPath(), stored);
            boxes.Clear();
            FailChange(kills);
            const bool failed = ShownFailure(CQuestionFile(host).Load());
            FailChange(0);
            EXPECT_EQ(boxes.Texts(),
                      std::vector<std::string>(failed, FormatString(IDS_CANNOT_WRITE, DataPath())));
            for (const auto& entry : fs::directory_iterator(dir.Path()))
                fs::remove_all(entry.path());
            WriteFileBytes(real, stored);
            fs::permissions(real, fs::perms(0640));
            fs::create_symlink(real, DataPath());
            WriteFileBytes(real + ".bak", {}); // the user's own
            const bool killed = KilledAtChange(kills, [&] { (void)CQuestionFile(host).Load(); });
            CQuestionFile again(host);
            LoadFile(again);
            EXPECT_EQ(DataBytes(), Saved(MakeDataFile(upgraded))) << "killed at change " << kills;
            for (const auto& entry : fs::directory_iterator(dir.Path())) {
                const std::string name = entry.path().filename();
                EXPECT_TRUE(name == "deck.qld" || name == "real.qld" || name == "real.qld.bak" ||
                            (name.starts_with("real.qld.bak.") &&
                             ReadFileBytes(entry.path()) == Bytes(stored.begin(), stored.end())))
                    << name << " left after a kill at change " << kills;
            }
            if (killed)
                continue;
            EXPECT_GE(kills, 5) << "the header, the records, the flush and the rename at least";
            EXPECT_TRUE(fs::is_symlink(DataPath())) << "converted where the link points";
            EXPECT_EQ(fs::status(DataPath()).permissions(), fs::perms(0640));
            if (version < 150) {
                EXPECT_EQ(ReadFileBytes(real + ".bak.2"), stored);
                EXPECT_EQ(fs::status(real + ".bak.2").permissions(), fs::perms(0640));
            }
            EXPECT_EQ(ReadFileBytes(real + ".bak"), Bytes{});
            break;
        }
    }
    EXPECT_TRUE(boxes.Shown().empty());
}
