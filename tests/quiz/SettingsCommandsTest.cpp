#include "QuizFixture.h"

#include "Menus.h"
#include "QuestionFileHeader.h"

using SettingsCommandsTest = QuizTest;

namespace {

// Sets the range 5 to 10 (through the go-to dialogs) and the mode Rough, optionally ticks the
// box, then ends the dialog.
std::function<void(CDialog&)> RangeFiveToTenRough(bool tick, int end = IDOK) {
    return [tick, end, goTos = std::make_shared<int>(0)](CDialog& dialog) {
        if (dynamic_cast<CGotoDlg*>(&dialog))
            return QuizTest::GoTo(dialog, (*goTos)++ == 0 ? "5" : "10");
        QuizTest::Click(dialog, IDC_SCHEDULE_FROM);
        QuizTest::Click(dialog, IDC_SCHEDULE_TO);
        QuizTest::Click(dialog, IDC_SCHEDULE_ROUGH);
        if (tick)
            QuizTest::Click(dialog, IDC_SCHEDULE_INIT_RECORDS);
        QuizTest::Click(dialog, end);
    };
}

} // namespace

TEST_F(SettingsCommandsTest, ScheduleOkStoresRangeAndModeAndClearsRecordsOnlyWhenConfirmed) {
    for (const auto& [tick, answer] : {std::pair{false, 0}, {true, IDYES}, {true, IDNO}}) {
        SCOPED_TRACE(answer);
        Start(TwelveQuestions());
        Bytes bytes = DataBytes();
        for (int i = 0; i < 12; ++i)
            PutInt32At(bytes, CorrectCountOffset(i), 3);
        WriteFileBytes(DataPath(), bytes);
        boxes.Clear();
        if (tick)
            boxes.AnswerNext(answer);
        WithDialogs(RangeFiveToTenRough(tick), [&] { Choose(ID_MEMORY_SCHEDULE); });
        EXPECT_EQ((std::vector{At(72), At(76), At(8), At(64)}), (std::vector{4, 9, 4, 2}))
            << "range, position, mode";
        EXPECT_EQ(QuestionShown(), "Question 5");
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(Correct(i), answer == IDYES && i >= 4 && i <= 9 ? 0 : 3) << i;
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
    Bytes before = DataBytes();
    PutInt32At(before, 28, 0); // the save time, to see that nothing is written
    WriteFileBytes(DataPath(), before);
    EXPECT_EQ(WithDialogs(RangeFiveToTenRough(true, IDCANCEL), [&] { Choose(ID_MEMORY_SCHEDULE); }),
              3);
    EXPECT_EQ(DataBytes(), before);
    EXPECT_EQ(QuestionShown(), "Question 3");
    WithDialogs([](CDialog& dialog) { Click(dialog, IDOK); }, [&] { Choose(ID_MEMORY_SCHEDULE); });
    EXPECT_EQ(QuestionShown(), "Question 1");
    EXPECT_EQ(At(8), 0) << "position";
}

TEST_F(SettingsCommandsTest, OptionStoresPeriodAndFourBitsOnEveryOkAndNothingOnCancel) {
    // Sets the period (unless null), ticks a box (unless 0) and ends the dialog; keeps the
    // boxes it showed ticked.
    std::vector<bool> ticked;
    const auto options = [&](const char* period, int tick, int end = IDOK) {
        WithDialogs(
            [&](CDialog& dialog) {
                ticked.clear();
                for (int id : {IDC_OPTION_NO_SHOW_AT_START, IDC_OPTION_HIDE_IF_CORRECT,
                               IDC_OPTION_SOUND_ON, IDC_OPTION_MATCH_CASE})
                    ticked.push_back(
                        qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->isChecked());
                if (period)
                    dialog.SetDlgItemText(IDC_OPTION_PERIOD, period);
                if (tick)
                    Click(dialog, tick);
                Click(dialog, end);
            },
            [&] { quiz->SendCommand(ID_OPTION); });
    };
    Start(DeckSpec{TwelveQuestions().cards, 1, 0x13}); // hidden at start by bit 0
    ASSERT_TRUE(TimerRuns());
    options("0", 0);
    EXPECT_EQ(ticked, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(At(20), 0x03) << "optionFlags";
    EXPECT_EQ(At(12), 0) << "popupMinutes";
    EXPECT_TRUE(WaitFor([&] { return Shown(); })) << "the hidden window's timer restarts with 0";

    Bytes before = DataBytes();
    PutInt32At(before, 20, 0x13); // comes back only with a write of the header
    WriteFileBytes(DataPath(), before);
    options("7", IDC_OPTION_SOUND_ON, IDCANCEL);
    EXPECT_EQ(DataBytes(), before);
    options(nullptr, IDC_OPTION_SOUND_ON);
    EXPECT_EQ(At(20), 0x03 | OPT_SOUND_ON) << "written on every OK";
    EXPECT_FALSE(TimerRuns());
    options("1", 0);
    EXPECT_EQ(At(12), 1);
    EXPECT_FALSE(TimerRuns()) << "none while visible";
    Press(Qt::Key_Escape);
    EXPECT_FALSE(WaitFor([&] { return Shown(); }, 300)) << "the next hide takes the new period";
}

TEST_F(SettingsCommandsTest, GoWithinTheRangeContinuesThereAndOutsideSaysSoUpToTheLimit) {
    DeckSpec deck = TwelveQuestions();
    deck.rangeFrom = 4;
    deck.rangeTo = 9;
    deck.position = 4;
    Start(deck);
    const Bytes before = DataBytes();
    for (const char* number : {"11", "4", "0", "-3", "1000", "1001", "99999999999", ""})
        WithDialogs([&](CDialog& dialog) { GoTo(dialog, number); }, [&] { Click(*quiz, IDC_GO); });
    std::vector<std::string> refused;
    for (const char* number : {"11", "4", "0", "-3", "1000"})
        refused.push_back(QString("If you want to go to the question number '%1',\n\nyou have to "
                                  "change the current question range first!")
                              .arg(number)
                              .toStdString());
    EXPECT_EQ(boxes.Texts(), refused) << "1001 and beyond say nothing";
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
    EXPECT_EQ(DataBytes(), before);

    std::string shownNumber, shownRange;
    WithDialogs(
        [&](CDialog& dialog) {
            shownNumber = dialog.GetDlgItemText(IDC_GOTO_NUMBER);
            shownRange = dialog.GetDlgItemText(IDC_GOTO_RANGE);
            GoTo(dialog, "10");
        },
        [&] { Press(Qt::Key_F7); });
    EXPECT_EQ(shownNumber, "5");
    EXPECT_EQ(shownRange, "between 5 and 10");
    EXPECT_EQ(QuestionShown(), "Question 10");
    EXPECT_EQ(At(8), 9) << "the position is on disk at once";
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());
}

TEST_F(SettingsCommandsTest, EditedCurrentQuestionShowsAtOnceAndIsOnDisk) {
    Start(Capitals());
    Type("Par");
    const auto edit = [](CDialog& dialog) {
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Capital of France?");
        dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Capital of Peru?");
        dialog.SetDlgItemText(IDC_EDIT_ANSWER, "Lima");
        QTest::keyClick(dialog.GetDlgItem(IDC_EDIT_QUESTION), Qt::Key_Return);
    };
    EXPECT_EQ(WithDialogs(edit, [&] { Press(Qt::Key_Return, Qt::ShiftModifier); }), 1);
    EXPECT_EQ(QuestionShown(), "Capital of Peru?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "Par") << "the typed answer stays";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&DataBytes().at(RecordOffset(0) + 4))),
              "Capital of Peru?");
    Answer("lima");
    EXPECT_EQ(Correct(0), 1);
}
