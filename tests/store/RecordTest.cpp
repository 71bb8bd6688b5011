#include "StoreFixture.h"

class RecordTest : public StoreTest {
protected:
    void SetUp() override {
        WriteFileBytes(DataPath(), CurrentFile(5));
        LoadFile(file);
    }
    CQuestionFile file{host};
};

TEST_F(RecordTest, UpdateTextsCutsToTheField) {
    const std::string longQuestion(600, 'q');
    ASSERT_EQ(ExitStatusOf([&] { file.UpdateTexts(2, longQuestion, "0123456789"); }), -1);
    Bytes bytes = DataBytes();
    const std::size_t record = 104 + 2 * 1052;
    EXPECT_EQ(QuestionAt(bytes, 2), std::string(499, 'q'));
    EXPECT_EQ(bytes[record + 4 + 499], 0);
    EXPECT_EQ(AnswerAt(bytes, 2), "0123456789");
    for (std::size_t o = 10; o < 500; ++o)
        ASSERT_EQ(bytes[record + 504 + o], 0) << "answer byte " << o;
    EXPECT_EQ(Int32At(bytes, record), 2);
    EXPECT_EQ(QuestionAt(bytes, 1), "Q1") << "other records stay";
}

TEST_F(RecordTest, UpdateTextsNeverSplitsACharacter) {
    // 498 bytes, then a two-byte and a three-byte character: only the first 498 bytes fit.
    const std::string text = std::string(498, 'a') + "\xC3\xA9" + "\xE2\x82\xAC";
    file.UpdateTexts(0, text, std::string(497, 'b') + "\xE2\x82\xAC");
    Bytes bytes = DataBytes();
    EXPECT_EQ(QuestionAt(bytes, 0), std::string(498, 'a'));
    EXPECT_EQ(AnswerAt(bytes, 0), std::string(497, 'b'));
    file.UpdateTexts(0, std::string(497, 'a') + "\xC3\xA9", "");
    EXPECT_EQ(QuestionAt(DataBytes(), 0), std::string(497, 'a') + "\xC3\xA9");

    QuestionRecord shown;
    file.ReadRecordOrExit(0, shown);
    EXPECT_EQ(FieldText(shown.question), std::string(497, 'a') + "\xC3\xA9");
}

TEST_F(RecordTest, UpdateTextsKeepsTheMemoryRecord) {
    file.RecordCorrectAnswer(3);
    file.RecordCorrectAnswer(3);
    file.UpdateTexts(3, "new question", "new answer");
    Bytes bytes = DataBytes();
    EXPECT_EQ(Int32At(bytes, 104 + 3 * 1052 + 1008), 2);
    EXPECT_EQ(QuestionAt(bytes, 3), "new question");
}

TEST_F(RecordTest, CorrectAnswersFillTheRingOfTimes) {
    const Bytes before = DataBytes();
    const std::size_t record = 104 + 1 * 1052;
    for (int k = 1; k <= 11; ++k) {
        host.now = 1000 + k;
        file.RecordCorrectAnswer(1);
    }
    Bytes bytes = DataBytes();
    EXPECT_EQ(Int32At(bytes, record + 1008), 11);
    EXPECT_EQ(Int32At(bytes, record + 1012 + 4 * 1), 1011) << "the 11th overwrote the 1st";
    EXPECT_EQ(Int32At(bytes, record + 1012 + 4 * 0), 1010);
    for (int slot = 2; slot < 10; ++slot)
        EXPECT_EQ(Int32At(bytes, record + 1012 + 4 * std::size_t(slot)), 1000 + slot);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 104),
              Bytes(before.begin(), before.begin() + 104))
        << "the header is not written";
    EXPECT_EQ(QuestionAt(bytes, 1), "Q1");
}

TEST_F(RecordTest, InitMemoryRecordsClearsTheRangeOnYes) {
    for (int i = 0; i < 5; ++i)
        file.RecordCorrectAnswer(i);
    const Bytes answered = DataBytes();

    boxes.AnswerNext(IDNO);
    file.InitMemoryRecords();
    EXPECT_EQ(DataBytes(), answered);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              "Do you really want to initialize the memory record of the current question range?");
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_YESNO | MB_ICONQUESTION});

    boxes.AnswerNext(IDYES);
    file.InitMemoryRecords();
    Bytes cleared = DataBytes();
    ASSERT_EQ(cleared.size(), answered.size()) << "no record appended for the rest of the range";
    for (int i = 0; i < 5; ++i) {
        const std::size_t record = 104 + std::size_t(i) * 1052;
        EXPECT_EQ(Int32At(cleared, record + 1008), 0);
        EXPECT_EQ(Int32At(cleared, record + 1012 + 4), host.now) << "the ring is kept";
    }
}

TEST_F(RecordTest, InitMemoryRecordsKeepsRecordsOutsideTheRange) {
    file.RecordCorrectAnswer(0);
    file.RecordCorrectAnswer(4);
    file.header.rangeFrom = 1;
    file.header.rangeTo = 3;
    boxes.AnswerNext(IDYES);
    file.InitMemoryRecords();
    Bytes bytes = DataBytes();
    EXPECT_EQ(Int32At(bytes, 104 + 1008), 1);
    EXPECT_EQ(Int32At(bytes, 104 + 4 * 1052 + 1008), 1);
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
