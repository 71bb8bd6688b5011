#include "ResourceIds.h"
#include "StoreFixture.h"
#include "Strings.h"

namespace {

class ReviewScheduleTest : public StoreTest {
protected:
    // A new file with the given mode and 0-based range, the schedule at the range's start.
    void StartNewFile(int mode, int from, int to) {
        file.CreateNew();
        file.header.reviewMode = mode;
        file.header.position = file.header.rangeFrom = from;
        file.header.rangeTo = to;
        file.ComputeSequence();
    }
    // The next question, 1-based.
    int Next() {
        QuestionRecord shown;
        return file.NextQuestion(shown) + 1;
    }
    CQuestionFile file{host};
};

} // namespace

// The questions of each position ("position:questions", 1-based) until the congratulations,
// after which the pass starts again. A new file grows by a record when a question is first due.
TEST_F(ReviewScheduleTest, PassesEndWithTheCongratulations) {
    struct Case {
        int mode, from, to;
        std::string pass;
    } cases[] = {
        {REVIEW_CAREFUL, 0, 19,
         "1:1 2:2,1 3:3,2 4:4,3,1 5:5,4,2 6:6,5,3 7:7,6,4,1 8:8,7,5,2 9:9,8,6,3 10:10,9,7,4 "
         "11:11,10,8,5 12:12,11,9,6,1 13:13,12,10,7,2 14:14,13,11,8,3 15:15,14,12,9,4 "
         "16:16,15,13,10,5 17:17,16,14,11,6 18:18,17,15,12,7 19:19,18,16,13,8,1 "
         "20:20,19,17,14,9,2 21:20,18,15,10,3 22:19,16,11,4 23:20,17,12,5 24:18,13,6 25:19,14,7 "
         "26:20,15,8 27:16,9 28:17,10 29:18,11 30:19,12 31:20,13 32:14 33:15 34:16 35:17 36:18 "
         "37:19 38:20"},
        {REVIEW_ONCE, 0, 4, "1:1 2:2 3:3 4:4 5:5"},
        // One question, beyond the end of the file: the positions where it is not due are passed.
        {REVIEW_CAREFUL, 4, 4, "5:5 6:5 8:5 11:5 16:5 23:5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "mode " << c.mode << ", range " << c.from << ".." << c.to);
        boxes.Clear();
        StartNewFile(c.mode, c.from, c.to);
        std::string pass;
        for (int question = Next(), last = 0; boxes.Shown().empty() && pass.size() < 1000;
             question = Next()) {
            const int position = file.header.position + 1;
            pass += (position == last ? "," : " " + std::to_string(position) + ":") +
                    std::to_string(question);
            last = position;
        }
        EXPECT_EQ(pass.substr(1), c.pass);
        EXPECT_EQ(boxes.Texts(), std::vector{LoadString(IDS_CONGRATULATIONS)});
        EXPECT_EQ(file.header.position, c.from) << "the pass starts again";
        EXPECT_EQ(DataBytes().size(), RecordOffset(c.to + 1));
    }
}

// A new file is the header alone, with the Normal mode over questions 1 to 20. The schedule never
// makes a file grow past 1000 questions, whatever range it is given.
TEST_F(ReviewScheduleTest, NewFileAndNoRecordBeyondTheLimit) {
    file.CreateNew();
    EXPECT_EQ(DataBytes(), Saved(MakeDataFile({})));
    StartNewFile(REVIEW_ONCE, kMaxQuestions, kMaxQuestions);
    file.header.recordCount = kMaxQuestions;
    const Bytes before = DataBytes();
    EXPECT_EQ(ExitStatusOf([&] { Next(); }), 1);
    EXPECT_EQ(boxes.Texts(), std::vector{LoadString(IDS_QUESTION_LIMIT)});
    EXPECT_EQ(DataBytes(), before);
}
