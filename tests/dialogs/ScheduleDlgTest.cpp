#include "ScheduleDlg.h"

#include "MessageBoxRecorder.h"
#include "ModalRun.h"
#include "TestHost.h"

#include <QTest>
#include <gtest/gtest.h>

#include <array>

namespace {

// Runs the dialog as the quiz window does, on a file of range 0 to 19, and returns what it
// leaves on OK: the range, the mode and whether the range's records are to be cleared.
std::array<int, 4> RunToOk(int reviewMode, const std::function<void(CDialog&)>& script,
                           const std::function<void(CGotoDlg&)>& answerGoto = nullptr) {
    TestHost host("", "");
    CQuestionFile file(host);
    file.header.rangeTo = 19;
    CScheduleDlg dialog(nullptr);
    dialog.reviewMode = reviewMode;
    dialog.file = &file;
    EXPECT_EQ(RunModal(dialog, script, answerGoto), IDOK);
    return {dialog.rangeFrom, dialog.rangeTo, dialog.reviewMode, dialog.initRecords};
}

} // namespace

// The range buttons ask the go-to dialog for a number of 1 to 1000, preset to their end of the
// range; 0, 1001 and Cancel change nothing.
TEST(ScheduleDlgTest, RangeButtonsKeepTheRangeOrderedAndOkReturnsWhatIsChecked) {
    MessageBoxRecorder boxes;
    const struct Step {
        int button;
        const char* typed;
        Qt::Key key;
        const char *preset, *from, *to;
    } steps[] = {
        {IDC_SCHEDULE_FROM, "30", Qt::Key_Return, "1", "From:  30", "To:  30"},
        {IDC_SCHEDULE_TO, "5", Qt::Key_Return, "30", "From:   5", "To:   5"},
        {IDC_SCHEDULE_FROM, "0", Qt::Key_Return, "5", "From:   5", "To:   5"},
        {IDC_SCHEDULE_TO, "1000", Qt::Key_Return, "5", "From:   5", "To: 1000"},
        {IDC_SCHEDULE_TO, "1001", Qt::Key_Return, "1000", "From:   5", "To: 1000"},
        {IDC_SCHEDULE_FROM, "9", Qt::Key_Escape, "5", "From:   5", "To: 1000"},
    };
    const Step* step = nullptr;
    int runs = 0;
    const auto answerGoto = [&](CGotoDlg& go) {
        ++runs;
        EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_NUMBER), step->preset);
        EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_RANGE), "between 1 and 1000");
        QTest::keyClicks(go.GetDlgItem(IDC_GOTO_NUMBER), step->typed);
        QTest::keyClick(go.GetDlgItem(IDC_GOTO_NUMBER), step->key);
    };
    const auto script = [&](CDialog& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_FROM), "From:   1");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_TO), "To:  20");
        for (int id : {IDC_SCHEDULE_CAREFUL, IDC_SCHEDULE_NORMAL, IDC_SCHEDULE_ROUGH,
                       IDC_SCHEDULE_ONCE, IDC_SCHEDULE_INIT_RECORDS})
            EXPECT_EQ(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->isChecked(),
                      id == IDC_SCHEDULE_ONCE)
                << id;
        for (step = steps; step != std::end(steps); ++step) {
            SCOPED_TRACE(step->typed);
            Click(dialog, step->button);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_FROM), step->from);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_TO), step->to);
        }
        // Tab enters the review modes at the one checked.
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QWidget* initRecords = dialog.GetDlgItem(IDC_SCHEDULE_INIT_RECORDS);
        for (int mode : {IDC_SCHEDULE_ONCE, IDC_SCHEDULE_ROUGH}) {
            Click(dialog, mode);
            initRecords->setFocus();
            QTest::keyClick(initRecords, Qt::Key_Tab);
            EXPECT_EQ(dialog.focusWidget(), dialog.GetDlgItem(mode));
        }
        Click(dialog, IDC_SCHEDULE_INIT_RECORDS);
        // Enter on a range button presses OK, not the range button.
        dialog.GetDlgItem(IDC_SCHEDULE_FROM)->setFocus();
        QTest::keyClick(dialog.GetDlgItem(IDC_SCHEDULE_FROM), Qt::Key_Return);
    };
    EXPECT_EQ(RunToOk(3, script, answerGoto), (std::array{4, 999, 2, 1}));
    EXPECT_EQ(runs, 6);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(ScheduleDlgTest, ModeOfMinusOneLeavesEveryModeClear) {
    const auto script = [](CDialog& dialog) { Click(dialog, IDOK); };
    EXPECT_EQ(RunToOk(-1, script), (std::array{0, 19, -1, 0}));
}
