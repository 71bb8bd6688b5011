#include "GotoDlg.h"

#include "MessageBoxRecorder.h"
#include "ModalRun.h"

#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

class GotoDlgTest : public ::testing::Test {
protected:
    // Runs the dialog as a caller does, preset to 5, with the script driving it.
    int Run(const std::function<void(CDialog&)>& script) {
        CGotoDlg go(nullptr);
        go.m_nTarget = 5;
        go.m_strRange = "between 3 and 17";
        ModalRun run(script);
        const int result = go.DoModal();
        target = go.m_nTarget;
        return result;
    }

    // Puts the text in the box as a paste would and presses Enter.
    static void Enter(CDialog& dialog, const QString& text) {
        LineEdit(dialog, IDC_GOTO_NUMBER)->setText(text);
        QTest::keyClick(LineEdit(dialog, IDC_GOTO_NUMBER), Qt::Key_Return);
    }

    MessageBoxRecorder boxes;
    std::int32_t target = 0;
};

} // namespace

TEST_F(GotoDlgTest, OpensOnThePresetNumberAndTheCallersText) {
    Run([](CDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Go to ...");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_GOTO_NUMBER), "5");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_GOTO_RANGE), "between 3 and 17");
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->isVisible());
        EXPECT_FALSE(dialog.GetDlgItem(IDCANCEL)->isVisible());
        EXPECT_EQ(dialog.focusWidget(), LineEdit(dialog, IDC_GOTO_NUMBER));
        EXPECT_EQ(LineEdit(dialog, IDC_GOTO_NUMBER)->selectedText(), "5");
    });
}

TEST_F(GotoDlgTest, TypingTakesDigitsOnlyEnterAcceptsAndEscapeKeepsThePreset) {
    for (const auto& [key, result, expected] :
         {std::tuple{Qt::Key_Return, IDOK, 12}, {Qt::Key_Escape, IDCANCEL, 5}}) {
        const auto script = [&, key = key](CDialog& dialog) {
            QTest::keyClicks(LineEdit(dialog, IDC_GOTO_NUMBER), "a1b-2 c");
            EXPECT_EQ(dialog.GetDlgItemText(IDC_GOTO_NUMBER), "12");
            QTest::keyClick(LineEdit(dialog, IDC_GOTO_NUMBER), key);
        };
        EXPECT_EQ(Run(script), result);
        EXPECT_EQ(target, expected);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(GotoDlgTest, PastedTextIsReadAsAnIntegerOrRefusedWithTheDialogLeftOpen) {
    const std::pair<QString, std::optional<std::int32_t>> cases[] = {
        {"  15 ", 15}, {"\t8\t", 8}, {"0", 0},    {"12345678901", 2147483647},
        {"-7", -7},    {"", {}},     {"abc", {}}, {"1 2", {}}};
    for (const auto& [text, number] : cases) {
        SCOPED_TRACE(text.toStdString());
        boxes.Clear();
        const int result = Run([&, &text = text, number = number](CDialog& dialog) {
            Enter(dialog, text);
            if (number)
                return;
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].text, "Please enter an integer.");
            EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
            EXPECT_TRUE(dialog.isVisible());
            QLineEdit* box = LineEdit(dialog, IDC_GOTO_NUMBER);
            EXPECT_EQ(dialog.focusWidget(), box);
            EXPECT_EQ(box->text(), text);
            EXPECT_EQ(box->selectedText(), text);
            QTest::keyClicks(box, "3");
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(target, number.value_or(3));
        EXPECT_EQ(boxes.Shown().size(), number ? 0u : 1u);
    }
}
