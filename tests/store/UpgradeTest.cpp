#include "KillAtChange.h"
#include "StoreFixture.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class UpgradeTest : public StoreTest {
protected:
    // Only the data file is left in the folder.
    void EmptyFolderBut(const Bytes& stored) {
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            fs::remove_all(entry.path());
        WriteFileBytes(DataPath(), stored);
    }
    static fs::perms Permissions(const std::string& path) { return fs::status(path).permissions(); }
    // Three records behind the 32-byte header, in slots 2, 0 and 1, each answered a few times.
    static Bytes OldFileWithAnswers(int version) {
        Bytes file = OldFile(version, {2, 0, 1});
        for (std::size_t i = 0; i < 3; ++i) {
            PutInt32At(file, 32 + i * 1052 + 1008, int(i) + 4);
            PutInt32At(file, 32 + i * 1052 + 1012 + 4 * i, 1'600'000'000 + int(i));
        }
        return file;
    }
};

} // namespace

// An older file loads as version 200 with the Normal mode over all its records. Below 150 the
// records move behind the 104-byte header to the slots their numbers give, a damaged or repeated
// number to its own slot or the first free one, and the old file is kept beside it with its
// permissions, under a name that no file holds yet. A file reached through a link is converted
// where it lies.
TEST_F(UpgradeTest, OlderVersionsBecomeVersion200) {
    const Bytes usersOwn{'m', 'i', 'n', 'e'};
    struct Case {
        Bytes stored;
        std::vector<int> fileRecordInSlot;
        int position;
        bool backupNameTaken = false, throughLink = false;
    } cases[] = {
        {OldFile(100, {0, 1, 2}), {0, 1, 2}, 0},
        {OldFile(100, {1, 0}), {1, 0}, 0, false, true},
        {OldFile(120, {2, 0, 1}), {1, 2, 0}, 0, true},
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
        EmptyFolderBut(c.stored);
        fs::permissions(DataPath(), fs::perms(0640));
        const std::string real = c.throughLink ? dir.File("real.qld") : DataPath();
        if (c.throughLink) {
            fs::rename(DataPath(), real);
            fs::create_symlink(real, DataPath());
        }
        if (c.backupNameTaken)
            WriteFileBytes(real + ".bak", usersOwn);
        CQuestionFile file(host);
        LoadFile(file);

        // The pop-up period and the options are kept, the rest of the header is new.
        DeckSpec upgraded{.cards = {},
                          .popupMinutes = Int32At(c.stored, 12),
                          .optionFlags = Int32At(c.stored, 20),
                          .position = c.position,
                          .rangeTo = std::max(records - 1, 0)};
        for (int n : c.fileRecordInSlot)
            upgraded.cards.emplace_back("Q" + std::to_string(n), "A" + std::to_string(n));
        EXPECT_EQ(DataBytes(), WithInt32(MakeDataFile(upgraded), 28, host.now));
        EXPECT_EQ(Permissions(real), fs::perms(0640));
        EXPECT_EQ(fs::is_symlink(DataPath()), c.throughLink);
        const std::string backup = real + (c.backupNameTaken ? ".bak.2" : ".bak");
        if (version < 150) {
            EXPECT_EQ(ReadFileBytes(backup), c.stored);
            EXPECT_EQ(Permissions(backup), fs::perms(0640));
        }
        if (c.backupNameTaken) {
            EXPECT_EQ(ReadFileBytes(real + ".bak"), usersOwn);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
                  (version < 150 ? 2 : 1) + c.backupNameTaken + c.throughLink)
            << "the data file, its backup and the link, nothing else";
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

// The program killed at any change of a file during an upgrade, and started again, gets the same
// file as an upgrade that was not interrupted: every record's texts and memory record.
TEST_F(UpgradeTest, KilledAtAnyChangeTheNextStartLosesNothing) {
    Bytes from150 = OldFileWithAnswers(150);
    from150.insert(from150.begin() + 32, 72, 0);
    for (const Bytes& stored : {OldFileWithAnswers(100), from150}) {
        SCOPED_TRACE(::testing::Message() << "version " << Int32At(stored, 0));
        EmptyFolderBut(stored);
        {
            CQuestionFile whole(host);
            LoadFile(whole);
        }
        const Bytes upgraded = DataBytes();
        EmptyFolderBut(stored);
        int kills = 0;
        while (KilledAtChange(kills + 1, [&] {
            CQuestionFile file(host);
            file.Load();
        })) {
            ++kills;
            CQuestionFile again(host);
            LoadFile(again);
            EXPECT_EQ(DataBytes(), upgraded) << "killed at change " << kills;
            EmptyFolderBut(stored);
        }
        EXPECT_GE(kills, 4) << "the header, the records, the flush and the rename at least";
        EXPECT_TRUE(boxes.Shown().empty());
    }
}
