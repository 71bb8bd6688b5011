#include "GotoDlg.h"

#include "MessageBoxRecorder.h"
#include "ModalRun.h"

#include <QTest>
#include <gtest/gtest.h>

// The box takes digits only. A pasted text that is no integer is refused and the dialog stays
// open with the text selected, so that typing replaces it. The editor's and the schedule's tests
// run the dialog as their callers do.
TEST(GotoDlgTest, TypingTakesDigitsOnlyAndTextThatIsNoIntegerIsRefused) {
    MessageBoxRecorder boxes;
    CGotoDlg go(nullptr);
    const int result = RunModal(go, [&](CDialog& dialog) {
        QLineEdit* number = LineEdit(dialog, IDC_GOTO_NUMBER);
        EXPECT_EQ(dialog.focusWidget(), number);
        QTest::keyClicks(number, "a1b-2 c");
        EXPECT_EQ(number->text(), "12");
        number->setText("1 2");
        QTest::keyClick(number, Qt::Key_Return);
        ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"Please enter an integer."});
        EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(number->selectedText(), "1 2");
        QTest::keyClicks(number, "3");
        QTest::keyClick(number, Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(go.m_nTarget, 3);
}
