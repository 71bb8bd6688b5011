#include "StoreFixture.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using RecordTest = StoreTest;

// Each update writes its record and nothing else: answers fill the ring of times, texts are cut to
// 499 bytes on a character boundary, the memory records of the range are cleared, and a record
// that is not in the file is not written. A write that fails says so with the file's path: a lost
// record is not counted, and an upgrade leaves the old file as it was and nothing beside it.
TEST_F(RecordTest, UpdatesWriteOnlyTheirRecordOrFail) {
    // Five records, the fourth with a damaged number.
    WriteFileBytes(DataPath(), WithInt32(CurrentFile(5), RecordOffset(3), 9));
    CQuestionFile file(host);
    LoadFile(file);
    Bytes expected = DataBytes();
    EXPECT_FALSE(LeavesUnflushed([&] {
        for (int k = 1; k <= 11; ++k) {
            host.now = 1'700'000'000 + k;
            ASSERT_FALSE(ShownFailure(file.RecordCorrectAnswer(1)));
        }
    })) << "an answer not flushed";
    // The 10th answer's time went to slot 0, the 11th overwrote the 1st in slot 1.
    PutInt32At(expected, CorrectCountOffset(1), 11);
    for (int slot = 0; slot < 10; ++slot)
        PutInt32At(expected, CorrectCountOffset(1) + 4 + 4 * std::size_t(slot),
                   1'700'000'000 + (slot < 2 ? slot + 10 : slot));
    EXPECT_EQ(DataBytes(), expected);

    // A field that another program cut by byte count shows as this cut stores it.
    const std::string a498(498, 'a'), b497(497, 'b'), a497e = std::string(497, 'a') + "\xC3\xA9";
    for (const auto& [text, stored] : {std::pair{std::string(600, 'q'), std::string(499, 'q')},
                                       {a498 + "\xC3\xA9", a498},
                                       {b497 + "\xE2\x82\xAC", b497},
                                       {a497e, a497e},
                                       {b497 + "\xF0\x9F\x98\x80", b497}}) {
        SCOPED_TRACE(::testing::Message() << "text of " << text.size() << " bytes");
        TextField cutByBytes{};
        std::copy_n(text.begin(), std::min<std::size_t>(text.size(), 499), cutByBytes.begin());
        EXPECT_EQ(FieldText(cutByBytes), stored);
        ASSERT_FALSE(ShownFailure(file.UpdateTexts(2, text, text)));
        const auto record = expected.begin() + std::ptrdiff_t(RecordOffset(2));
        std::fill(record + 4, record + 1004, 0);
        std::copy(stored.begin(), stored.end(), record + 4);
        std::copy(stored.begin(), stored.end(), record + 504);
        EXPECT_EQ(DataBytes(), expected);
    }

    ASSERT_FALSE(ShownFailure(file.RecordCorrectAnswer(3)));
    PutInt32At(expected, RecordOffset(3), 3); // a damaged number is written as the slot's
    PutInt32At(expected, CorrectCountOffset(3), 1);
    PutInt32At(expected, CorrectCountOffset(3) + 8, host.now);
    ASSERT_FALSE(ShownFailure(file.SetSchedule(2, 19, -1)));
    const Bytes scheduled = DataBytes();
    std::copy_n(scheduled.begin(), kHeaderSize, expected.begin());
    ASSERT_FALSE(ShownFailure(file.InitMemoryRecords()));
    PutInt32At(expected, CorrectCountOffset(3), 0);
    EXPECT_EQ(DataBytes(), expected) << "the counts of 3 to 20 cleared, the times kept, none added";
    EXPECT_TRUE(boxes.Shown().empty());

    // A record that cannot be read whole fails with message 107.
    for (int slot : {5, -1}) {
        boxes.Clear();
        EXPECT_TRUE(ShownFailure(file.RecordCorrectAnswer(slot)));
        EXPECT_TRUE(ShownFailure(file.UpdateTexts(slot, "q", "a")));
        EXPECT_EQ(boxes.Texts(), std::vector(2, LoadString(IDS_READ_ELEMENT_ERROR)));
        EXPECT_EQ(DataBytes(), expected);
    }

    // Writes beyond the limit fail, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const auto failsToWrite = [&](rlim_t bytes, const std::function<StoreStatus()>& write) {
        boxes.Clear();
        rlimit lowered{std::min(bytes, limit.rlim_max), limit.rlim_max};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
        EXPECT_TRUE(ShownFailure(write()));
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(boxes.Texts(), std::vector{FormatString(IDS_CANNOT_WRITE, DataPath())});
    };
    failsToWrite(expected.size(), [&] { return file.AppendRecord(); });
    EXPECT_EQ(DataBytes(), expected);
    failsToWrite(50, [&] { return file.SetOptions(1, 0); });
    file.Close();
    const Bytes old = OldFile(100, {0, 1});
    WriteFileBytes(DataPath(), old);
    failsToWrite(old.size() + 50, [&] { return CQuestionFile(host).Load(); });
    EXPECT_EQ(DataBytes(), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}
