#include "StoreFixture.h"

#include <map>

namespace {

// One pass, numbers shown 1-based.
struct Pass {
    std::string asked; // "position:questions" for each position
    std::map<int, int> timesAsked;
    int restartPosition, restartQuestion; // asked with the congratulation message
};

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

    // The next question, 1-based.
    int Next() {
        QuestionRecord shown;
        const int n = file.NextQuestion(shown);
        EXPECT_EQ(shown.number, std::min(n, file.header.recordCount - 1));
        return n + 1;
    }

    // The questions asked until the congratulation message. A new file gets no record before a
    // question of that number is due.
    Pass OnePass() {
        Pass pass;
        for (int lastPosition = 0;;) {
            const int question = Next(), position = file.header.position + 1;
            if (!boxes.Shown().empty()) {
                pass.asked.erase(0, 1);
                pass.restartPosition = position;
                pass.restartQuestion = question;
                return pass;
            }
            pass.asked += position == lastPosition ? "," : " " + std::to_string(position) + ":";
            pass.asked += std::to_string(question);
            lastPosition = position;
            ++pass.timesAsked[question];
            EXPECT_LE(file.header.recordCount, pass.timesAsked.rbegin()->first);
        }
    }

    CQuestionFile file{host};
};

} // namespace

TEST_F(ReviewScheduleTest, PassesEndWithTheCongratulations) {
    struct Case {
        int mode, from, to, timesEach;
        std::string pass;
    } cases[] = {
        {REVIEW_CAREFUL, 0, 19, 6,
         "1:1 2:2,1 3:3,2 4:4,3,1 5:5,4,2 6:6,5,3 7:7,6,4,1 8:8,7,5,2 9:9,8,6,3 10:10,9,7,4 "
         "11:11,10,8,5 12:12,11,9,6,1 13:13,12,10,7,2 14:14,13,11,8,3 15:15,14,12,9,4 "
         "16:16,15,13,10,5 17:17,16,14,11,6 18:18,17,15,12,7 19:19,18,16,13,8,1 "
         "20:20,19,17,14,9,2 21:20,18,15,10,3 22:19,16,11,4 23:20,17,12,5 24:18,13,6 25:19,14,7 "
         "26:20,15,8 27:16,9 28:17,10 29:18,11 30:19,12 31:20,13 32:14 33:15 34:16 35:17 36:18 "
         "37:19 38:20"},
        {REVIEW_NORMAL, 0, 19, 4,
         "1:1 2:2 3:3,1 4:4,2 5:5,3 6:6,4,1 7:7,5,2 8:8,6,3 9:9,7,4 10:10,8,5 11:11,9,6 "
         "12:12,10,7,1 13:13,11,8,2 14:14,12,9,3 15:15,13,10,4 16:16,14,11,5 17:17,15,12,6 "
         "18:18,16,13,7 19:19,17,14,8 20:20,18,15,9 21:19,16,10 22:20,17,11 23:18,12 24:19,13 "
         "25:20,14 26:15 27:16 28:17 29:18 30:19 31:20"},
        {REVIEW_ONCE, 0, 4, 1, "1:1 2:2 3:3 4:4 5:5"},
        // One question, beyond the end of the file: the positions where it is not due are passed
        // over, and each time it is asked the file grows by the next record.
        {REVIEW_CAREFUL, 4, 4, 6, "5:5 6:5 8:5 11:5 16:5 23:5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "mode " << c.mode << ", range " << c.from << ".." << c.to);
        boxes.Clear();
        StartNewFile(c.mode, c.from, c.to);
        const Pass pass = OnePass();
        EXPECT_EQ(pass.asked, c.pass);
        for (int q = c.from + 1; q <= c.to + 1; ++q)
            EXPECT_EQ(pass.timesAsked.at(q), c.timesEach) << "question " << q;
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text,
                  "Conguratulations!! You have reached the end!\n\nWhy don't you try other "
                  "question ranges or other files.\n\nIf you don't, the same questions will be "
                  "repeated.\n\nThank you for using Quillow!\n\n");
        EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
        EXPECT_EQ(pass.restartPosition, c.from + 1) << "the pass starts again";
        EXPECT_EQ(pass.restartQuestion, c.from + 1);
        const Bytes bytes = DataBytes();
        EXPECT_EQ(bytes.size(), RecordOffset(c.to + 1));
        EXPECT_EQ(Int32At(bytes, 4), c.to + 1);
    }
}

TEST_F(ReviewScheduleTest, ReopeningHandsOutTheLastQuestionAgain) {
    StartNewFile(REVIEW_CAREFUL, 0, 19);
    for (int k = 0; k < 5; ++k)
        Next();
    file.SaveAndClose();

    CQuestionFile reopened(host);
    LoadFile(reopened);
    QuestionRecord shown;
    EXPECT_EQ(reopened.NextQuestion(shown), 1) << "the fifth: question 2 at position 3";
    EXPECT_EQ(reopened.NextQuestion(shown), 3);
}

// The schedule never makes a file grow past 1000 questions, whatever range it is given.
TEST_F(ReviewScheduleTest, NoRecordBeyondTheLimit) {
    StartNewFile(REVIEW_ONCE, kMaxQuestions, kMaxQuestions);
    file.header.recordCount = kMaxQuestions;
    const Bytes before = DataBytes();
    QuestionRecord shown;
    EXPECT_EQ(ExitStatusOf([&] { file.NextQuestion(shown); }), 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"No more questions can be added.\n\nThe "
                                                      "limit is 1000 questions."});
    EXPECT_EQ(DataBytes(), before);
}
