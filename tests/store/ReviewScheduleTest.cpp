#include "StoreFixture.h"

#include <map>

namespace {

struct Asked {
    int position; // shown 1-based
    int question; // shown 1-based
};

constexpr const char* kCongratulations =
    "Conguratulations!! You have reached the end!\n\nWhy don't you try other question ranges or "
    "other files.\n\nIf you don't, the same questions will be repeated.\n\nThank you for using "
    "Quillow!\n\n";

class ReviewScheduleTest : public StoreTest {
protected:
    // A new file with the given mode and 0-based range, the schedule at the range's start.
    void StartNewFile(int mode, int from, int to) {
        file.CreateNew();
        file.header.reviewMode = mode;
        file.header.rangeFrom = from;
        file.header.rangeTo = to;
        file.header.position = from;
        file.ComputeSequence();
    }

    Asked Next() {
        QuestionRecord shown;
        int n = file.NextQuestion(shown);
        EXPECT_EQ(shown.number, std::min(n, file.header.recordCount - 1));
        return {file.header.position + 1, n + 1};
    }

    // The questions asked until the congratulation message, by position.
    std::map<int, std::vector<int>> OnePass() {
        std::map<int, std::vector<int>> byPosition;
        while (boxes.Shown().empty()) {
            Asked a = Next();
            if (boxes.Shown().empty())
                byPosition[a.position].push_back(a.question);
        }
        return byPosition;
    }

    CQuestionFile file{host};
};

using Questions = std::vector<int>;

} // namespace

TEST_F(ReviewScheduleTest, CarefulPassOfTwentyQuestions) {
    StartNewFile(0, 0, 19);
    std::map<int, Questions> pass;
    std::map<int, int> timesAsked;
    int asked = 0;
    for (; asked < 120; ++asked) {
        Asked a = Next();
        pass[a.position].push_back(a.question);
        ++timesAsked[a.question];
        if (a.position <= 20) {
            EXPECT_EQ(file.header.recordCount, a.position) << "appended as introduced";
        }
    }
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(pass.size(), 38u);
    EXPECT_EQ(pass.rbegin()->first, 38);
    EXPECT_EQ(pass[1], (Questions{1}));
    EXPECT_EQ(pass[2], (Questions{2, 1}));
    EXPECT_EQ(pass[3], (Questions{3, 2}));
    EXPECT_EQ(pass[4], (Questions{4, 3, 1}));
    EXPECT_EQ(pass[5], (Questions{5, 4, 2}));
    EXPECT_EQ(pass[6], (Questions{6, 5, 3}));
    EXPECT_EQ(pass[7], (Questions{7, 6, 4, 1}));
    EXPECT_EQ(pass[8], (Questions{8, 7, 5, 2}));
    EXPECT_EQ(pass[12], (Questions{12, 11, 9, 6, 1}));
    EXPECT_EQ(pass[19], (Questions{19, 18, 16, 13, 8, 1}));
    EXPECT_EQ(pass[20], (Questions{20, 19, 17, 14, 9, 2}));
    EXPECT_EQ(pass[21], (Questions{20, 18, 15, 10, 3}));
    EXPECT_EQ(pass[32], (Questions{14}));
    EXPECT_EQ(pass[38], (Questions{20}));
    for (int q = 1; q <= 20; ++q)
        EXPECT_EQ(timesAsked[q], 6) << "question " << q;
    EXPECT_EQ(file.header.recordCount, 20);

    Asked again = Next();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, kCongratulations);
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
    EXPECT_EQ(again.position, 1);
    EXPECT_EQ(again.question, 1);
    EXPECT_EQ(file.header.recordCount, 20);
}

TEST_F(ReviewScheduleTest, NormalPassAsksEachQuestionFourTimes) {
    StartNewFile(1, 0, 19);
    auto pass = OnePass();
    EXPECT_EQ(pass.size(), 31u);
    EXPECT_EQ(pass[1], (Questions{1}));
    EXPECT_EQ(pass[2], (Questions{2}));
    EXPECT_EQ(pass[3], (Questions{3, 1}));
    EXPECT_EQ(pass[6], (Questions{6, 4, 1}));
    EXPECT_EQ(pass[12], (Questions{12, 10, 7, 1}));
    std::size_t total = 0;
    for (const auto& [position, questions] : pass)
        total += questions.size();
    EXPECT_EQ(total, 80u);
}

TEST_F(ReviewScheduleTest, OnceModeAsksEachQuestionOnce) {
    StartNewFile(3, 0, 4);
    Questions order;
    for (int k = 0; k < 6; ++k)
        order.push_back(Next().question);
    EXPECT_EQ(order, (Questions{1, 2, 3, 4, 5, 1}));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, kCongratulations);
}

TEST_F(ReviewScheduleTest, OneQuestionRangePassesOverEmptyPositions) {
    StartNewFile(0, 4, 4);
    Questions positions;
    for (int k = 0; k < 6; ++k) {
        Asked a = Next();
        EXPECT_EQ(a.question, 5);
        positions.push_back(a.position - 1);
    }
    EXPECT_EQ(positions, (Questions{4, 5, 7, 10, 15, 22}));
    EXPECT_TRUE(boxes.Shown().empty());
    Asked again = Next();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(again.position - 1, 4);
}

TEST_F(ReviewScheduleTest, RangeBeyondTheEndAppendsTheNextRecord) {
    WriteFileBytes(DataPath(), CurrentFile(5, 10, 1, 0, 10, 30));
    LoadFile(file);
    QuestionRecord shown;
    EXPECT_EQ(file.NextQuestion(shown), 10);
    EXPECT_EQ(shown.number, 5);
    EXPECT_EQ(file.header.recordCount, 6);
    EXPECT_EQ(file.NextQuestion(shown), 11);
    EXPECT_EQ(shown.number, 6);
    Bytes bytes = DataBytes();
    EXPECT_EQ(bytes.size(), 104u + 7 * 1052);
    EXPECT_EQ(Int32At(bytes, 4), 7);
    EXPECT_EQ(Int32At(bytes, 104 + 6 * 1052), 6);
    EXPECT_EQ(QuestionAt(bytes, 6), "");
    EXPECT_EQ(QuestionAt(bytes, 4), "Q4");
}

TEST_F(ReviewScheduleTest, ReopeningHandsOutTheLastQuestionAgain) {
    StartNewFile(0, 0, 19);
    Asked last{};
    for (int k = 0; k < 5; ++k)
        last = Next();
    EXPECT_EQ(last.position, 3);
    EXPECT_EQ(last.question, 2);
    file.SaveAndClose();

    CQuestionFile reopened(host);
    LoadFile(reopened);
    QuestionRecord shown;
    EXPECT_EQ(reopened.NextQuestion(shown), 1);
    EXPECT_EQ(FieldText(shown.question), "");
    EXPECT_EQ(reopened.NextQuestion(shown), 3);
    EXPECT_EQ(reopened.header.position, 3);
}

TEST_F(ReviewScheduleTest, StepBeyondTheSequenceMovesToTheNextPosition) {
    // Closed in the review tail: Load moves back to the range's start, where slot 3 is empty.
    WriteFileBytes(DataPath(), CurrentFile(20, 25, 0, 3, 0, 19));
    LoadFile(file);
    EXPECT_EQ(file.header.position, 0);
    QuestionRecord shown;
    EXPECT_EQ(file.NextQuestion(shown), 1);
    EXPECT_EQ(FieldText(shown.question), "Q1");
    EXPECT_EQ(file.header.stepIndex, 0);
}

TEST_F(ReviewScheduleTest, ComputeSequenceAlwaysWritesTheHeader) {
    StartNewFile(1, 0, 19);
    file.header.popupMinutes = 9;
    host.now += 5;
    file.ComputeSequence();
    EXPECT_EQ(file.header.position, 0);
    EXPECT_EQ(Int32At(DataBytes(), 12), 9);
    EXPECT_EQ(Int32At(DataBytes(), 28), host.now);
}

TEST_F(ReviewScheduleTest, NegativeSequenceIndexEndsSilently) {
    StartNewFile(1, 0, 19);
    file.sequenceIndex = -1;
    QuestionRecord shown;
    EXPECT_EQ(ExitStatusOf([&] { file.NextQuestion(shown); }), 1);
    EXPECT_TRUE(boxes.Shown().empty());
}
