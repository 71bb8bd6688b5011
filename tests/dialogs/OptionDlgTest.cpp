#include "OptionDlg.h"

#include "MessageBoxRecorder.h"
#include "ModalRun.h"

#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class OptionDlgTest : public ::testing::Test {
protected:
    // Runs the dialog filled as for a new data file: period 1, every switch off.
    int Run(const std::function<void(CDialog&)>& script) {
        COptionDlg dialog(nullptr);
        dialog.m_nPopupMinutes = 1;
        ModalRun run(script);
        const int result = dialog.DoModal();
        minutes = dialog.m_nPopupMinutes;
        return result;
    }

    static QLineEdit* Period(CDialog& dialog) { return LineEdit(dialog, IDC_OPTION_PERIOD); }

    MessageBoxRecorder boxes;
    std::uint32_t minutes = 0;
};

} // namespace

TEST_F(OptionDlgTest, NewFileSettingShowsPeriodOneAndTabsThroughTheControlsInOrder) {
    Run([](CDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Option");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_OPTION_PERIOD), "1");
        const int switches[] = {IDC_OPTION_NO_SHOW_AT_START, IDC_OPTION_HIDE_IF_CORRECT,
                                IDC_OPTION_SOUND_ON, IDC_OPTION_MATCH_CASE};
        for (int id : switches)
            EXPECT_FALSE(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->isChecked()) << id;
        std::vector<int> order{IDOK, IDCANCEL, IDC_OPTION_PERIOD};
        order.insert(order.end(), std::begin(switches), std::end(switches));
        order.push_back(IDOK);
        dialog.GetDlgItem(IDOK)->setFocus();
        for (int id : order) {
            EXPECT_EQ(dialog.focusWidget(), dialog.GetDlgItem(id)) << id;
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        }
    });
}

// A refused text keeps the dialog open with the text selected, so that typing 42 replaces it.
TEST_F(OptionDlgTest, PeriodIsAnUnsignedNumberUpTo360) {
    const char* const range = "Please enter an integer between 0 and 360.";
    const char* const positive = "Please enter a positive integer.";
    const std::tuple<QString, std::uint32_t, const char*> cases[] = {
        {" 15 ", 15, nullptr}, {"0", 0, nullptr},    {"360", 360, nullptr}, {"361", 42, range},
        {"", 42, positive},    {"-3", 42, positive}, {"abc", 42, positive}};
    for (const auto& [text, expected, message] : cases) {
        SCOPED_TRACE(text.toStdString());
        boxes.Clear();
        const int result = Run([&, &text = text, message = message](CDialog& dialog) {
            Period(dialog)->setText(text); // as a paste would
            QTest::keyClick(Period(dialog), Qt::Key_Return);
            if (!message)
                return;
            ASSERT_EQ(boxes.Texts(), std::vector<std::string>{message});
            EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.focusWidget(), Period(dialog));
            EXPECT_EQ(Period(dialog)->selectedText(), text);
            QTest::keyClicks(Period(dialog), "42");
            QTest::keyClick(Period(dialog), Qt::Key_Return);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(minutes, expected);
        EXPECT_EQ(boxes.Shown().size(), message ? 1u : 0u);
    }
}

TEST_F(OptionDlgTest, SpinStepsThePeriodNeverBelowZeroAndTypingTakesDigitsOnly) {
    Run([](CDialog& dialog) {
        QLineEdit* box = Period(dialog);
        QToolButton *up = nullptr, *down = nullptr;
        for (auto* arrow : dialog.GetDlgItem(IDC_OPTION_SPIN)->findChildren<QToolButton*>())
            (arrow->arrowType() == Qt::UpArrow ? up : down) = arrow;
        ASSERT_TRUE(up && down);
        const auto key = [&](Qt::Key k) {
            QTest::keyClick(box, k);
            return box->text();
        };
        const auto click = [&](QToolButton* arrow) {
            arrow->click();
            return box->text();
        };
        EXPECT_EQ(key(Qt::Key_Down), "0");
        EXPECT_EQ(key(Qt::Key_Down), "0");
        EXPECT_EQ(key(Qt::Key_Up), "1");
        EXPECT_EQ(click(up), "2");
        EXPECT_EQ(click(down), "1");
        QTest::keyClicks(box, "a7b-c3");
        EXPECT_EQ(box->text(), "73");
        EXPECT_EQ(key(Qt::Key_Up), "74");
    });
}
