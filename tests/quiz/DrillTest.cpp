#include "QuizFixture.h"

#include "DesktopServices.h"
#include "QuestionFileHeader.h"
#include "WinApp.h"

#include <QMenu>

using DrillTest = QuizTest;

// A wrong answer shows the stored one and keeps the question; a right one is counted on disk
// and moves on; the Answer button only reveals, Next only moves on, and the dialog's OK does
// nothing.
TEST_F(DrillTest, StartThenAnswersAndNext) {
    Start(Capitals());
    EXPECT_EQ(QuestionShown(), "Capital of France?");
    EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - deck.qld");
    EXPECT_EQ(host->storedCaption, "Quillow V2.0 - deck.qld");
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());
    for (int id : {IDC_HIDE, IDC_EDIT, IDC_ANSWER, IDC_NEXT, IDC_GO, IDC_FUNCTION})
        EXPECT_EQ(quiz->GetDlgItem(id)->focusPolicy(), Qt::NoFocus) << "the keys stay in the box";
    Bytes before = RecordBytes();
    Answer("Lyon");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Paris");
    EXPECT_EQ(boxes.Shown()[0].caption, "The correct answer is...");
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_OK}) << "no icon";
    EXPECT_EQ(QuestionShown(), "Capital of France?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "Lyon");
    EXPECT_EQ(RecordBytes(), before);
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());

    Answer(" paris ");
    EXPECT_EQ(Correct(0), 1);
    EXPECT_NE(At(RecordOffset(0) + 1012 + 4), 0) << "the moment is in slot 1";
    EXPECT_EQ(Correct(1), 0);
    EXPECT_EQ(QuestionShown(), "Capital of Italy?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "");

    before = RecordBytes();
    Type("Rome");
    Click(*quiz, IDC_ANSWER);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Paris", "Rome"}));
    EXPECT_EQ(AnswerBox()->toPlainText(), "Rome");
    quiz->SendCommand(IDOK);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(QuestionShown(), "Capital of Italy?");
    Press(Qt::Key_F8);
    EXPECT_EQ(QuestionShown(), "Capital of Spain?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "");
    Click(*quiz, IDC_NEXT);
    EXPECT_NE(QuestionShown(), "Capital of Spain?");
    EXPECT_EQ(RecordBytes(), before);
}

// The comparison rules are AnswerCheckTest's; here only that the window applies them to the
// box's lines with the file's letter-case option. An empty question shows a hint, in the
// colours of a 256-colour display.
TEST_F(DrillTest, WhatCountsAsTheRightAnswer) {
    Start(DeckSpec{{{"", "first\nsecond"}, {"Big Apple?", "New York"}}, 1, OPT_MATCH_CASE}, 256);
    EXPECT_EQ(QuestionShown(), "{Push [Edit] button to edit this question and answer.}");
    EXPECT_EQ(DataBytes()[RecordOffset(0) + 4], 0) << "the file keeps the empty question";
    EXPECT_EQ(quiz->GetDlgItem(IDC_QUESTION_TEXT)->palette().color(QPalette::Window),
              QColor(192, 192, 192));
    EXPECT_EQ(AnswerBox()->palette().color(QPalette::Base), QColor(0, 0, 128));
    Type("first");
    Press(Qt::Key_Return, Qt::ControlModifier);
    Type("second");
    Press(Qt::Key_Return);
    EXPECT_EQ(Correct(0), 1);
    Answer("new york");
    EXPECT_EQ(Correct(1), 0);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"New York"});
}

// Escape hides with what was typed kept; the pop-up brings it back, with the sound only when
// the option is on.
TEST_F(DrillTest, EscapeHidesAndThePopupPeriodBringsItBack) {
    for (const bool soundOn : {true, false}) {
        SCOPED_TRACE(soundOn);
        std::vector<std::string> played;
        ScopedHandler sounds(SetSoundHandler,
                             [&](const std::string& path) { played.push_back(path); });
        Start(Capitals(soundOn ? OPT_SOUND_ON : 0, 0));
        Type("Par");
        Press(Qt::Key_Escape);
        EXPECT_FALSE(Shown());
        ASSERT_TRUE(WaitFor([&] { return Shown(); }));
        EXPECT_FALSE(TimerRuns()) << "shown: no timer spins";
        EXPECT_EQ(QuestionShown(), "Capital of France?");
        EXPECT_EQ(AnswerBox()->toPlainText(), "Par");
        EXPECT_EQ(quiz->focusWidget(), AnswerBox());
        EXPECT_EQ(quiz->result(), 0) << "hiding does not end the dialog";
        const std::string wav = dir.File("Quillow.wav");
        EXPECT_EQ(played, (soundOn ? std::vector{wav, wav} : std::vector<std::string>{}))
            << "at start and at the pop-up";
    }
}

// Hidden at start; the timer waits while the tray icon's left and right buttons, the hide
// option, the Hide button and the icon's menu work at once.
TEST_F(DrillTest, TrayIconAndHideOptionsWithThePopupTimer) {
    Start(Capitals(OPT_NO_SHOW_AT_START | OPT_HIDE_IF_CORRECT));
    ASSERT_TRUE(WaitFor([&] { return !Shown(); }));
    EXPECT_TRUE(TimerRuns());
    EXPECT_FALSE(WaitFor([&] { return Shown(); }, 300));
    auto* icon = quiz->findChild<QSystemTrayIcon*>();
    EXPECT_EQ(icon->icon().availableSizes().value(0), QSize(16, 16));
    emit icon->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_FALSE(Shown()) << "only the left and right buttons pop it up";
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(TimerRuns());
    Answer("Lyon");
    EXPECT_TRUE(Shown());
    Answer("Paris");
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(TimerRuns()) << "a second hide restarts it";
    EXPECT_EQ(QuestionShown(), "Capital of Italy?");
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(Shown());
    Click(*quiz, IDC_HIDE);
    EXPECT_TRUE(TimerRuns());
    // Where the tray's host keeps the right button for a menu, its first item shows the window.
    ASSERT_NE(icon->contextMenu(), nullptr);
    QAction* show = icon->contextMenu()->actions().value(0);
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->text(), "&Show Quillow");
    show->trigger();
    EXPECT_TRUE(Shown());
    quiz->DestroyWindow();
    EXPECT_FALSE(icon->isVisible()) << "no icon is left behind";
}

TEST_F(DrillTest, CloseBoxEndsTheProgramAndSavesTheHeader) {
    Start(Capitals());
    Press(Qt::Key_Escape);
    quiz->PopUp();
    for (int k = 0; k < 3; ++k)
        Press(Qt::Key_F8);
    EXPECT_EQ(At(68), 0) << "the step is not written on every advance";
    quiz->close();
    EXPECT_FALSE(quiz->isVisible());
    EXPECT_EQ(quiz->result(), IDCANCEL) << "an earlier Escape does not turn a close into a hide";
    quiz->DestroyWindow();
    EXPECT_EQ(At(68), 1) << "the step of the question on display is saved";
    EXPECT_FALSE(quiz->File().IsOpen());
}
