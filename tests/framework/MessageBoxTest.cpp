#include "MessageBox.h"
#include "MessageBoxRecorder.h"

#include <gtest/gtest.h>

TEST(MessageBoxTest, PlainOkBoxesGetTheExclamationIconAndQuestionsWithoutDisplaySayNo) {
    {
        MessageBoxRecorder boxes;
        AfxMessageBox("plain");
        AfxMessageBox(111, MB_YESNO);
        ShowMessageBox("answer", "The correct answer is...", MB_OK);
        ASSERT_EQ(boxes.Shown().size(), 3u);
        EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
        EXPECT_EQ(boxes.Shown()[0].caption, "Quillow");
        EXPECT_EQ(boxes.Shown()[1].type, unsigned{MB_YESNO});
        EXPECT_EQ(boxes.Shown()[2].type, unsigned{MB_OK})
            << "a box with its own caption is as asked";
        EXPECT_EQ(boxes.Shown()[2].caption, "The correct answer is...");
    }
    // Without a window system a question is answered with the choice that changes nothing.
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("c", MB_YESNO), IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Quillow: c\n");
}
