#include "KillAtChange.h"
#include "StoreFixture.h"

#include <algorithm>
#include <filesystem>
#include <functional>

class RecordTest : public StoreTest {
protected:
    void SetUp() override {
        WriteFileBytes(DataPath(), CurrentFile(5));
        LoadFile(file);
    }
    CQuestionFile file{host};
};

// Texts are cut to 499 bytes on a character boundary; the rest of the record stays.
TEST_F(RecordTest, UpdateTextsCutsOnACharacterBoundary) {
    file.RecordCorrectAnswer(2);
    const std::string a498(498, 'a'), a497e = std::string(497, 'a') + "\xC3\xA9";
    struct Case {
        std::string question, answer, storedQuestion, storedAnswer;
    } cases[] = {
        {std::string(600, 'q'), "0123456789", std::string(499, 'q'), "0123456789"},
        // A two-byte and a three-byte character past the cut.
        {a498 + "\xC3\xA9\xE2\x82\xAC", std::string(497, 'b') + "\xE2\x82\xAC", a498,
         std::string(497, 'b')},
        {a497e, "", a497e, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "question of " << c.question.size() << " bytes");
        Bytes expected = DataBytes();
        const auto record = expected.begin() + std::ptrdiff_t(RecordOffset(2));
        std::fill(record + 4, record + 1004, 0);
        std::copy(c.storedQuestion.begin(), c.storedQuestion.end(), record + 4);
        std::copy(c.storedAnswer.begin(), c.storedAnswer.end(), record + 504);
        ASSERT_EQ(ExitStatusOf([&] { file.UpdateTexts(2, c.question, c.answer); }), -1);
        EXPECT_EQ(DataBytes(), expected);
        EXPECT_EQ(FieldText(file.workRecord.question), c.storedQuestion);
    }
}

TEST_F(RecordTest, CorrectAnswersFillTheRingOfTimes) {
    Bytes expected = DataBytes();
    for (int k = 1; k <= 11; ++k) {
        host.now = 1000 + k;
        file.RecordCorrectAnswer(1);
    }
    // The 10th answer's time went to slot 0, the 11th overwrote the 1st in slot 1.
    PutInt32At(expected, CorrectCountOffset(1), 11);
    for (int slot = 0; slot < 10; ++slot)
        PutInt32At(expected, CorrectCountOffset(1) + 4 + 4 * std::size_t(slot),
                   1000 + (slot < 2 ? slot + 10 : slot));
    EXPECT_EQ(DataBytes(), expected) << "nothing else is written, the header neither";
}

TEST_F(RecordTest, InitMemoryRecordsClearsTheRangeOnYes) {
    for (int i = 0; i < 5; ++i)
        file.RecordCorrectAnswer(i);
    Bytes expected = DataBytes();
    file.header.rangeFrom = 1;
    file.header.rangeTo = 3;

    boxes.AnswerNext(IDNO);
    file.InitMemoryRecords();
    EXPECT_EQ(DataBytes(), expected);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              "Do you really want to initialize the memory record of the current question range?");
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_YESNO | MB_ICONQUESTION});

    boxes.AnswerNext(IDYES);
    file.InitMemoryRecords();
    for (int i = 1; i <= 3; ++i)
        PutInt32At(expected, CorrectCountOffset(i), 0);
    EXPECT_EQ(DataBytes(), expected) << "the counts in the range are cleared, the times kept";

    file.header.rangeTo = 19;
    boxes.AnswerNext(IDYES);
    file.InitMemoryRecords();
    PutInt32At(expected, CorrectCountOffset(4), 0);
    EXPECT_EQ(DataBytes(), expected) << "no record appended for the rest of the range";
}

// A record that cannot be read whole is never written back from a stale work record.
TEST_F(RecordTest, ShortRecordEndsWithMessage107AndWritesNothing) {
    const Bytes before = DataBytes();
    for (auto operation : {+[](CQuestionFile& f) { f.RecordCorrectAnswer(5); },
                           +[](CQuestionFile& f) { f.UpdateTexts(7, "q", "a"); },
                           +[](CQuestionFile& f) {
                               QuestionRecord r;
                               f.ReadRecordOrExit(-1, r);
                           }}) {
        boxes.Clear();
        EXPECT_EQ(ExitStatusOf([&] { operation(file); }), 1);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Read Element Error!"});
        EXPECT_EQ(DataBytes(), before);
    }
}

// A record whose number is not its slot is counted at the slot it was read from.
TEST_F(RecordTest, DamagedNumberCountsAtTheSlotItWasReadFrom) {
    file.Close();
    Bytes stored = CurrentFile(5);
    PutInt32At(stored, RecordOffset(2), 9);
    PutInt32At(stored, RecordOffset(3), -1);
    WriteFileBytes(DataPath(), stored);
    CQuestionFile damaged(host);
    LoadFile(damaged);
    for (int slot : {2, 3}) {
        QuestionRecord shown;
        damaged.ReadRecordOrExit(slot, shown);
        ASSERT_EQ(ExitStatusOf([&] { damaged.RecordCorrectAnswer(shown.number); }), -1);
        EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(slot)), 1) << "slot " << slot;
    }
}

// A file that another program deleted, replaced or cut short, before a write or during it, is not
// written and nothing is taken as kept: the program says so and ends, and what the other program
// left at the path stays as it is.
TEST_F(RecordTest, FileChangedUnderItIsNotWritten) {
    file.Close();
    const Bytes ours = CurrentFile(5), theirs = CurrentFile(7);
    const Bytes loaded = WithInt32(ours, 28, host.now);
    const auto replace = [&] {
        WriteFileBytes(dir.File("saved.qld"), theirs);
        std::filesystem::rename(dir.File("saved.qld"), DataPath());
    };
    struct Case {
        std::function<void()> change;
        Bytes left; // empty: no file at the path
    } cases[] = {
        {[&] { std::filesystem::remove(DataPath()); }, {}},
        {replace, theirs},
        // Loading wrote the header with its time.
        {[&] { std::filesystem::resize_file(DataPath(), 104); },
         Bytes(loaded.begin(), loaded.begin() + 104)},
        {[&] { AtChange(1, replace); }, theirs},
    };
    for (const auto& c : cases) {
        for (auto write : {+[](CQuestionFile& f) { f.AppendRecord(); },
                           +[](CQuestionFile& f) { f.SaveAndClose(); }}) {
            WriteFileBytes(DataPath(), ours);
            CQuestionFile open(host);
            LoadFile(open);
            c.change();
            boxes.Clear();
            EXPECT_EQ(ExitStatusOf([&] { write(open); }), 1);
            EXPECT_EQ(boxes.Texts(), std::vector<std::string>{
                                         "Another program has replaced, moved or shortened the "
                                         "QLD file:\n\n" +
                                         DataPath() + "\n\nNothing more is written to it."});
            EXPECT_EQ(FileExists(DataPath()), !c.left.empty());
            EXPECT_EQ(DataBytes(), c.left);
        }
    }
}
