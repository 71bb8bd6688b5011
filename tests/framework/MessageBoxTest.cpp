#include "MessageBox.h"
#include "MessageBoxRecorder.h"

#include <gtest/gtest.h>

TEST(MessageBoxTest, PlainOkBoxesGetTheExclamationIcon) {
    MessageBoxRecorder boxes;
    AfxMessageBox("plain");
    AfxMessageBox("asked", MB_YESNO);
    AfxMessageBox(111, MB_YESNO | MB_ICONQUESTION);
    ShowMessageBox("answer", "The correct answer is...", MB_OK);
    ASSERT_EQ(boxes.Shown().size(), 4u);
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillow");
    EXPECT_EQ(boxes.Shown()[1].type, unsigned{MB_YESNO});
    EXPECT_EQ(boxes.Shown()[2].type, unsigned{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(boxes.Shown()[3].type, unsigned{MB_OK}) << "a box with its own caption is as asked";
    EXPECT_EQ(boxes.Shown()[3].caption, "The correct answer is...");
}

TEST(MessageBoxTest, RecorderAnswersAsScriptedThenRestores) {
    {
        MessageBoxRecorder boxes;
        boxes.AnswerNext(IDYES);
        EXPECT_EQ(AfxMessageBox("a", MB_YESNO), IDYES);
        EXPECT_EQ(AfxMessageBox("b", MB_YESNO), IDOK);
    }
    // Without a window system a question is answered with the choice that changes nothing.
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("c", MB_YESNO), IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Quillow: c\n");
}
