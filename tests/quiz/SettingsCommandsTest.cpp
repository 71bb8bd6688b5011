#include "QuizFixture.h"

#include "GotoDlg.h"
#include "Menus.h"
#include "QuestionFileHeader.h"
#include "ScopedHandler.h"

#include <QAbstractButton>

namespace {

QAbstractButton* Button(CDialog& dialog, int id) {
    return qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id));
}

} // namespace

class SettingsCommandsTest : public QuizTest {
protected:
    // Runs the command through the Function menu (or sent directly), the script driving its
    // dialog; the go-to dialogs it opens are answered with goToAnswer.
    void Run(int command, const std::function<void(CDialog&)>& script, bool throughMenu = true) {
        int runs = 0;
        ScopedHandler dialogs(CDialog::SetModalRunHandler, [&](CDialog& dialog) {
            auto* go = dynamic_cast<CGotoDlg*>(&dialog);
            if (!go) {
                ++runs;
                return script(dialog);
            }
            QTest::keyClicks(go->GetDlgItem(IDC_GOTO_NUMBER), goToAnswer);
            QTest::keyClick(go->GetDlgItem(IDC_GOTO_NUMBER), Qt::Key_Return);
        });
        if (throughMenu)
            Choose(command);
        else
            quiz->SendCommand(command);
        EXPECT_EQ(runs, 1);
    }

    // Sets the range 5 to 10 and the mode Rough, optionally ticks the box, then ends the dialog.
    std::function<void(CDialog&)> RangeFiveToTenRough(bool tick, int end = IDOK) {
        return [this, tick, end](CDialog& dialog) {
            goToAnswer = "5";
            Button(dialog, IDC_SCHEDULE_FROM)->click();
            goToAnswer = "10";
            Button(dialog, IDC_SCHEDULE_TO)->click();
            Button(dialog, IDC_SCHEDULE_ROUGH)->click();
            if (tick)
                Button(dialog, IDC_SCHEDULE_INIT_RECORDS)->click();
            Button(dialog, end)->click();
        };
    }

    // Changes the file behind the program's back (a header field comes back only with a write
    // of the header; records are read from disk when needed); returns the file as changed.
    Bytes ChangeOnDisk(std::size_t offset, std::int32_t value) {
        Bytes bytes = DataBytes();
        PutInt32At(bytes, offset, value);
        WriteFileBytes(DataPath(), bytes);
        return bytes;
    }

    QString goToAnswer;
};

TEST_F(SettingsCommandsTest, ScheduleOkStoresRangeAndModeAndClearsRecordsOnlyWhenConfirmed) {
    for (const auto& [tick, answer] : {std::pair{false, 0}, {true, IDYES}, {true, IDNO}}) {
        SCOPED_TRACE(answer);
        if (quiz)
            quiz->DestroyWindow();
        Start(TwelveQuestions());
        for (int i = 0; i < 12; ++i)
            ChangeOnDisk(CorrectCountOffset(i), 3);
        boxes.Clear();
        if (tick)
            boxes.AnswerNext(answer);
        Run(ID_MEMORY_SCHEDULE, RangeFiveToTenRough(tick));
        const Bytes bytes = DataBytes();
        EXPECT_EQ(Int32At(bytes, 72), 4) << "rangeFrom";
        EXPECT_EQ(Int32At(bytes, 76), 9) << "rangeTo";
        EXPECT_EQ(Int32At(bytes, 8), 4) << "position";
        EXPECT_EQ(Int32At(bytes, 64), 2) << "reviewMode";
        EXPECT_EQ(QuestionShown(), "Question 5");
        for (int i = 0; i < 12; ++i) {
            const bool cleared = answer == IDYES && i >= 4 && i <= 9;
            EXPECT_EQ(Int32At(bytes, CorrectCountOffset(i)), cleared ? 0 : 3) << i;
        }
        ASSERT_EQ(boxes.Shown().size(), tick ? 1u : 0u);
        if (tick) {
            EXPECT_EQ(boxes.Shown()[0].text, "Do you really want to initialize the memory record "
                                             "of the current question range?");
            EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_YESNO | MB_ICONQUESTION});
        }
    }
}

TEST_F(SettingsCommandsTest, ScheduleOkWithoutChangeRestartsAndCancelChangesNothing) {
    Start(TwelveQuestions());
    Press(Qt::Key_F8);
    Press(Qt::Key_F8);
    ASSERT_EQ(QuestionShown(), "Question 3");
    const Bytes before = ChangeOnDisk(28, 0); // savedTime
    Run(ID_MEMORY_SCHEDULE, RangeFiveToTenRough(true, IDCANCEL));
    EXPECT_EQ(DataBytes(), before);
    EXPECT_EQ(QuestionShown(), "Question 3");

    Run(ID_MEMORY_SCHEDULE, [](CDialog& dialog) { Button(dialog, IDOK)->click(); });
    EXPECT_EQ(QuestionShown(), "Question 1");
    EXPECT_EQ(Int32At(DataBytes(), 8), 0) << "position";
}

TEST_F(SettingsCommandsTest, OptionStoresPeriodAndFourBitsOnEveryOkAndNothingOnCancel) {
    // Sets the period (unless null), ticks a box (unless 0) and ends the dialog.
    const auto options = [](const char* period, int tick, int end = IDOK) {
        return [=](CDialog& dialog) {
            if (period)
                dialog.SetDlgItemText(IDC_OPTION_PERIOD, period);
            if (tick)
                Button(dialog, tick)->click();
            Button(dialog, end)->click();
        };
    };
    const auto showsTicked = [&](CDialog& dialog) {
        for (int id : {IDC_OPTION_NO_SHOW_AT_START, IDC_OPTION_HIDE_IF_CORRECT, IDC_OPTION_SOUND_ON,
                       IDC_OPTION_MATCH_CASE})
            EXPECT_EQ(Button(dialog, id)->isChecked(),
                      id == IDC_OPTION_NO_SHOW_AT_START || id == IDC_OPTION_MATCH_CASE);
        options("0", 0)(dialog);
    };
    const auto shown = [&] { return quiz->IsShownToUser(); };
    DeckSpec deck = TwelveQuestions();
    deck.optionFlags = 0x13; // hidden at start by bit 0, for the period of 1 minute
    Start(deck);
    ASSERT_TRUE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));
    Run(ID_OPTION, showsTicked, false);
    EXPECT_EQ(Int32At(DataBytes(), 20), 0x03) << "optionFlags";
    EXPECT_EQ(Int32At(DataBytes(), 12), 0) << "popupMinutes";
    EXPECT_TRUE(WaitFor(shown)) << "the hidden window's timer restarts with 0";

    const Bytes before = ChangeOnDisk(20, 0x13);
    Run(ID_OPTION, options("7", IDC_OPTION_SOUND_ON, IDCANCEL));
    EXPECT_EQ(DataBytes(), before);
    Run(ID_OPTION, options(nullptr, 0));
    EXPECT_EQ(Int32At(DataBytes(), 20), 0x03) << "written on every OK";

    Run(ID_OPTION, options(nullptr, IDC_OPTION_SOUND_ON));
    EXPECT_EQ(Int32At(DataBytes(), 20), 0x03 | OPT_SOUND_ON);
    EXPECT_EQ(Int32At(DataBytes(), 12), 0);
    EXPECT_FALSE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));

    Run(ID_OPTION, options("1", 0));
    EXPECT_EQ(Int32At(DataBytes(), 12), 1);
    EXPECT_FALSE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER)) << "none while visible";
    Press(Qt::Key_Escape);
    EXPECT_FALSE(WaitFor(shown, 300)) << "the next hide takes the new period";
}
