#include "ScheduleDlg.h"

#include "DataFileBuilder.h"
#include "GotoDlg.h"
#include "MessageBoxRecorder.h"
#include "ModalRun.h"
#include "TestHost.h"

#include <QTest>
#include <gtest/gtest.h>

#include <array>

namespace {

class ScheduleDlgTest : public ::testing::Test {
protected:
    ScheduleDlgTest() : host(dir.File("deck.qld"), dir.Path()) {}

    // Runs the dialog as the quiz window does, on a loaded file of range 0 to 19; the go-to
    // dialogs it opens are answered by answerGoto.
    int Run(int reviewMode, const std::function<void(CDialog&)>& script) {
        DeckSpec deck{{{"Q1", "A1"}, {"Q2", "A2"}}};
        deck.reviewMode = reviewMode;
        WriteFileBytes(host.GetDataFilePath(), MakeDataFile(deck));
        CQuestionFile file(host);
        file.Load();
        CScheduleDlg dialog(nullptr);
        dialog.reviewMode = reviewMode;
        dialog.file = &file;
        ModalRun run([&](CDialog& shown) {
            if (auto* go = dynamic_cast<CGotoDlg*>(&shown))
                answerGoto(*go);
            else
                script(shown);
        });
        const int result = dialog.DoModal();
        chosen = {dialog.rangeFrom, dialog.rangeTo, dialog.reviewMode, dialog.initRecords};
        return result;
    }

    static bool IsChecked(CDialog& dialog, int id) {
        return qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->isChecked();
    }

    TempDir dir;
    TestHost host;
    MessageBoxRecorder boxes;
    std::function<void(CGotoDlg&)> answerGoto = [](CGotoDlg&) { ADD_FAILURE() << "go-to ran"; };
    std::array<int, 4> chosen{}; // from, to, mode, clear records
};

} // namespace

TEST_F(ScheduleDlgTest, OpensOnTheRangeAndModeAndOkReturnsWhatIsChecked) {
    struct Case {
        int givenMode, clicked; // 0: no radio clicked
        bool tick;
        std::array<int, 4> expected;
    };
    for (const auto& c :
         {Case{0, IDC_SCHEDULE_ONCE, true, {0, 19, 3, 1}}, Case{3, 0, false, {0, 19, 3, 0}},
          Case{3, IDC_SCHEDULE_ROUGH, false, {0, 19, 2, 0}}, Case{-1, 0, true, {0, 19, -1, 1}}}) {
        SCOPED_TRACE(c.givenMode);
        const int result = Run(c.givenMode, [&](CDialog& dialog) {
            EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_FROM), "From:   1");
            EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_TO), "To:  20");
            for (int id = IDC_SCHEDULE_CAREFUL; id <= IDC_SCHEDULE_ONCE; ++id)
                EXPECT_EQ(IsChecked(dialog, id), id - IDC_SCHEDULE_CAREFUL == c.givenMode) << id;
            EXPECT_FALSE(IsChecked(dialog, IDC_SCHEDULE_INIT_RECORDS));
            if (c.clicked)
                Click(dialog, c.clicked);
            if (c.tick)
                Click(dialog, IDC_SCHEDULE_INIT_RECORDS);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(chosen, c.expected);
    }
}

TEST_F(ScheduleDlgTest, RangeButtonsTakeANumberFromTheGoToDialogAndKeepTheRangeOrdered) {
    struct Step {
        int button;
        const char* typed;
        Qt::Key key;
        const char *preset, *from, *to;
    };
    const Step steps[] = {
        {IDC_SCHEDULE_TO, "25", Qt::Key_Return, "20", "From:   1", "To:  25"},
        {IDC_SCHEDULE_FROM, "30", Qt::Key_Return, "1", "From:  30", "To:  30"},
        {IDC_SCHEDULE_TO, "5", Qt::Key_Return, "30", "From:   5", "To:   5"},
        {IDC_SCHEDULE_FROM, "0", Qt::Key_Return, "5", "From:   5", "To:   5"},
        {IDC_SCHEDULE_TO, "1001", Qt::Key_Return, "5", "From:   5", "To:   5"},
        {IDC_SCHEDULE_FROM, "9", Qt::Key_Escape, "5", "From:   5", "To:   5"},
        {IDC_SCHEDULE_TO, "1000", Qt::Key_Return, "5", "From:   5", "To: 1000"},
    };
    const int result = Run(1, [&](CDialog& dialog) {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.typed);
            int runs = 0;
            answerGoto = [&](CGotoDlg& go) {
                ++runs;
                EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_NUMBER), step.preset);
                EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_RANGE), "between 1 and 1000");
                QTest::keyClicks(go.GetDlgItem(IDC_GOTO_NUMBER), step.typed);
                QTest::keyClick(go.GetDlgItem(IDC_GOTO_NUMBER), step.key);
            };
            Click(dialog, step.button);
            EXPECT_EQ(runs, 1);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_FROM), step.from);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_SCHEDULE_TO), step.to);
        }
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen, (std::array{4, 999, 1, 0}));
    EXPECT_TRUE(boxes.Shown().empty());
}
