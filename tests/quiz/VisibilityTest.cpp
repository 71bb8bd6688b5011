#include "QuizFixture.h"

#include "QuestionFileHeader.h"

#include <QAbstractButton>

using VisibilityTest = QuizTest;

TEST_F(VisibilityTest, EscapeHidesAndThePopupPeriodBringsItBack) {
    DeckSpec deck = Capitals();
    deck.popupMinutes = 0;
    Start(deck);
    Type("Par");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(quiz->IsShownToUser());
    ASSERT_TRUE(WaitFor([&] { return quiz->IsShownToUser(); }));
    EXPECT_FALSE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER)) << "shown: no timer spins";
    EXPECT_EQ(QuestionShown(), "Capital of France?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "Par");
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());
    EXPECT_EQ(quiz->result(), 0) << "hiding does not end the dialog";
}

TEST_F(VisibilityTest, HiddenWindowWaitsForItsPeriod) {
    Start(Capitals());
    qobject_cast<QAbstractButton*>(quiz->GetDlgItem(IDC_HIDE))->click();
    EXPECT_FALSE(quiz->IsShownToUser());
    EXPECT_TRUE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));
    EXPECT_FALSE(WaitFor([&] { return quiz->IsShownToUser(); }, 300));
    quiz->PopUp();
    EXPECT_TRUE(quiz->IsShownToUser());
    EXPECT_FALSE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));
}

TEST_F(VisibilityTest, HideIfCorrectHidesAfterACorrectAnswerOnly) {
    DeckSpec deck = Capitals();
    deck.optionFlags = OPT_HIDE_IF_CORRECT;
    Start(deck);
    Answer("Lyon");
    EXPECT_TRUE(quiz->IsShownToUser());
    AnswerBox()->clear();
    Answer("Paris");
    EXPECT_FALSE(quiz->IsShownToUser());
    EXPECT_TRUE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));
    EXPECT_EQ(QuestionShown(), "Capital of Italy?");
}

TEST_F(VisibilityTest, NoShowAtStartHidesOnceTheLoopRuns) {
    DeckSpec deck = Capitals();
    deck.optionFlags = OPT_NO_SHOW_AT_START;
    Start(deck);
    ASSERT_TRUE(WaitFor([&] { return !quiz->IsShownToUser(); }));
    EXPECT_TRUE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));
}

TEST_F(VisibilityTest, CloseBoxEndsTheProgramAndSavesTheHeader) {
    Start(Capitals());
    Press(Qt::Key_Escape);
    quiz->PopUp();
    for (int k = 0; k < 3; ++k)
        Press(Qt::Key_F8);
    EXPECT_EQ(QuestionShown(), "Capital of France?") << "the review at position 3";
    const Bytes before = DataBytes();
    EXPECT_EQ(Int32At(before, 8), 2);
    EXPECT_EQ(Int32At(before, 68), 0) << "the step is not written on every advance";
    quiz->close();
    EXPECT_FALSE(quiz->isVisible());
    EXPECT_EQ(quiz->result(), IDCANCEL) << "an earlier Escape does not turn a close into a hide";
    quiz->DestroyWindow();
    Bytes saved = DataBytes();
    EXPECT_EQ(Int32At(saved, 68), 1) << "the step of the question on display is saved";
    EXPECT_FALSE(quiz->File().IsOpen());
}
