#include "OptionDlg.h"

#include "MessageBoxRecorder.h"
#include "ModalRun.h"

#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Runs the dialog on a period of 1 minute, the script driving its period box, and returns the
// period it leaves on OK.
std::uint32_t RunOnPeriodOne(const std::function<void(CDialog&, QLineEdit& period)>& script) {
    COptionDlg dialog(nullptr);
    dialog.m_nPopupMinutes = 1;
    const auto run = [&](CDialog& shown) { script(shown, *LineEdit(shown, IDC_OPTION_PERIOD)); };
    EXPECT_EQ(RunModal(dialog, run), IDOK);
    return dialog.m_nPopupMinutes;
}

} // namespace

// A refused text keeps the dialog open with the text selected, so that typing 42 replaces it.
TEST(OptionDlgTest, PeriodIsAnUnsignedNumberUpTo360) {
    const char* const range = "Please enter an integer between 0 and 360.";
    const char* const positive = "Please enter a positive integer.";
    const std::tuple<QString, std::uint32_t, const char*> cases[] = {
        {" 15 ", 15, nullptr}, {"0", 0, nullptr},    {"360", 360, nullptr}, {"361", 42, range},
        {"", 42, positive},    {"-3", 42, positive}, {"abc", 42, positive}};
    for (const auto& [text, expected, message] : cases) {
        SCOPED_TRACE(text.toStdString());
        MessageBoxRecorder boxes;
        const auto script = [&, &text = text](CDialog& dialog, QLineEdit& period) {
            period.setText(text); // as a paste would
            QTest::keyClick(&period, Qt::Key_Return);
            if (boxes.Shown().empty())
                return;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.focusWidget(), &period);
            EXPECT_EQ(period.selectedText(), text);
            QTest::keyClicks(&period, "42");
            QTest::keyClick(&period, Qt::Key_Return);
        };
        EXPECT_EQ(RunOnPeriodOne(script), expected);
        EXPECT_EQ(boxes.Texts(),
                  message ? std::vector<std::string>{message} : std::vector<std::string>{});
    }
}

TEST(OptionDlgTest, SpinStepsThePeriodNeverBelowZero) {
    const auto script = [](CDialog& dialog, QLineEdit& period) {
        QToolButton *up = nullptr, *down = nullptr;
        for (auto* arrow : dialog.GetDlgItem(IDC_OPTION_SPIN)->findChildren<QToolButton*>())
            (arrow->arrowType() == Qt::UpArrow ? up : down) = arrow;
        ASSERT_TRUE(up && down);
        QTest::keyClick(&period, Qt::Key_Down);
        QTest::keyClick(&period, Qt::Key_Down);
        EXPECT_EQ(period.text(), "0");
        QTest::keyClick(&period, Qt::Key_Up);
        up->click();
        up->click();
        down->click();
        EXPECT_EQ(period.text(), "2");
        QTest::keyClick(&period, Qt::Key_Return);
    };
    EXPECT_EQ(RunOnPeriodOne(script), 2u);
}
