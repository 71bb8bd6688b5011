#include "StoreFixture.h"

using ReviewScheduleTest = StoreTest;

// The questions of each position ("position:questions", 1-based) until the congratulations,
// after which the pass starts again. A new file grows by a record when a question is first due.
TEST_F(ReviewScheduleTest, PassesEndWithTheCongratulations) {
    struct Case {
        int mode, from, to;
        std::string pass;
    } cases[] = {
        {REVIEW_CAREFUL, 0, 7,
         "1:1 2:2,1 3:3,2 4:4,3,1 5:5,4,2 6:6,5,3 7:7,6,4,1 8:8,7,5,2 9:8,6,3 10:7,4 11:8,5 12:6,1 "
         "13:7,2 14:8,3 15:4 16:5 17:6 18:7 19:8,1 20:2 21:3 22:4 23:5 24:6 25:7 26:8"},
        {REVIEW_NORMAL, 2, 6,
         "3:3 4:4 5:5,3 6:6,4 7:7,5 8:6,3 9:7,4 10:5 11:6 12:7 14:3 15:4 16:5 17:6 18:7"},
        {REVIEW_ONCE, 0, 4, "1:1 2:2 3:3 4:4 5:5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "mode " << c.mode << ", range " << c.from << ".." << c.to);
        boxes.Clear();
        CQuestionFile file(host);
        ASSERT_FALSE(ShownFailure(file.CreateNew()));
        ASSERT_FALSE(ShownFailure(file.SetSchedule(c.from, c.to, c.mode)));
        std::string pass;
        QuestionRecord shown;
        for (int last = 0; boxes.Shown().empty() && pass.size() < 1000;) {
            ASSERT_FALSE(ShownFailure(file.NextQuestion(shown)));
            // The question due, which a new file appends at its end, whatever its number.
            const QuestionFileHeader& h = file.Header();
            const int position = h.position + 1,
                      question =
                          position - kReviewOffsets[std::size_t(c.mode)][std::size_t(h.stepIndex)];
            if (boxes.Shown().empty())
                pass += (position == last ? "," : " " + std::to_string(position) + ":") +
                        std::to_string(question);
            last = position;
        }
        EXPECT_EQ(pass.substr(1), c.pass);
        EXPECT_EQ(boxes.Texts(), std::vector{LoadString(IDS_CONGRATULATIONS)});
        EXPECT_EQ(file.Header().position, c.from) << "the pass starts again";
        EXPECT_EQ(DataBytes().size(), RecordOffset(c.to + 1));
    }
}

// A new file is the header alone, with the Normal mode over questions 1 to 20. The schedule never
// makes a file grow past 1000 questions, whatever range it is given.
TEST_F(ReviewScheduleTest, NewFileAndNoRecordBeyondTheLimit) {
    CQuestionFile file(host);
    ASSERT_FALSE(ShownFailure(file.CreateNew()));
    EXPECT_EQ(DataBytes(), Saved(MakeDataFile({})));
    file.Close();
    WriteFileBytes(DataPath(), CurrentFile(kMaxQuestions));
    LoadFile(file);
    ASSERT_FALSE(ShownFailure(file.SetSchedule(kMaxQuestions, kMaxQuestions, REVIEW_ONCE)));
    const Bytes before = DataBytes();
    QuestionRecord shown;
    EXPECT_TRUE(ShownFailure(file.NextQuestion(shown)));
    EXPECT_EQ(boxes.Texts(), std::vector{LoadString(IDS_QUESTION_LIMIT)});
    EXPECT_EQ(DataBytes(), before);
}
