#include "QuizFixture.h"

#include "QuestionFileHeader.h"
#include "WinApp.h"

#include <QPushButton>

using DrillTest = QuizTest;

TEST_F(DrillTest, StartShowsTheFirstQuestionUnderTheFilesCaption) {
    Start(Capitals());
    EXPECT_EQ(QuestionShown(), "Capital of France?");
    EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - deck.qld");
    EXPECT_EQ(host->storedCaption, "Quillow V2.0 - deck.qld");
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());
    for (int id : {IDC_HIDE, IDC_EDIT, IDC_ANSWER, IDC_NEXT, IDC_GO, IDC_FUNCTION})
        EXPECT_EQ(quiz->GetDlgItem(id)->focusPolicy(), Qt::NoFocus) << "the keys stay in the box";
    EXPECT_EQ(quiz->size(), QSize(506, 170));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(DrillTest, CorrectAnswerIsCountedOnDiskAndMovesOn) {
    Start(Capitals());
    Answer(" paris ");
    Bytes bytes = DataBytes();
    EXPECT_EQ(Int32At(bytes, CorrectCountOffset(0)), 1);
    EXPECT_NE(Int32At(bytes, RecordOffset(0) + 1012 + 4), 0) << "the moment is in slot 1";
    EXPECT_EQ(Int32At(bytes, CorrectCountOffset(1)), 0);
    EXPECT_EQ(QuestionShown(), "Capital of Italy?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "");
    EXPECT_TRUE(boxes.Shown().empty());

    Answer("ROME");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(1)), 1);
}

TEST_F(DrillTest, WrongAnswerShowsTheStoredOneAndKeepsTheQuestion) {
    Start(Capitals());
    const Bytes before = RecordBytes();
    Answer("Lyon");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Paris");
    EXPECT_EQ(boxes.Shown()[0].caption, "The correct answer is...");
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_OK}) << "no icon";
    EXPECT_EQ(QuestionShown(), "Capital of France?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "Lyon");
    EXPECT_EQ(RecordBytes(), before);
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());

    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Backspace);
    Answer("Paris");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(0)), 1);
}

// Spaces never count, letter case only with the option, line breaks always; a huge typed text
// is compared whole.
TEST_F(DrillTest, WhatCountsAsTheRightAnswer) {
    DeckSpec deck{
        {{"Say nothing", ""}, {"Two lines", "first\nsecond"}, {"Big Apple?", "New York"}}};
    deck.optionFlags = OPT_MATCH_CASE;
    Start(deck);
    Answer("   ");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(0)), 1);

    Type("first");
    Press(Qt::Key_Return, Qt::ControlModifier);
    Press(Qt::Key_Return, Qt::ControlModifier);
    Answer("second");
    AnswerBox()->clear();
    Type("first");
    Press(Qt::Key_Return, Qt::ControlModifier);
    Answer("second");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(1)), 1);

    Answer("newyork");
    AnswerBox()->setPlainText(QString(100000, 'N'));
    Press(Qt::Key_Return);
    EXPECT_EQ(AnswerBox()->toPlainText().size(), 100000);
    AnswerBox()->clear();
    Answer("New Yo rk");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(2)), 1);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"first\nsecond", "New York", "New York"}));
}

// The Answer button only reveals, Next only moves on, and the dialog's OK does nothing.
TEST_F(DrillTest, AnswerNextAndOkLeaveTheRecordsAlone) {
    Start(Capitals());
    const Bytes before = RecordBytes();
    Type("Paris");
    qobject_cast<QPushButton*>(quiz->GetDlgItem(IDC_ANSWER))->click();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Paris"});
    EXPECT_EQ(QuestionShown(), "Capital of France?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "Paris");
    quiz->SendCommand(IDOK);
    EXPECT_TRUE(quiz->IsShownToUser());
    EXPECT_EQ(QuestionShown(), "Capital of France?");

    Press(Qt::Key_F8);
    EXPECT_EQ(QuestionShown(), "Capital of Italy?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "");
    qobject_cast<QPushButton*>(quiz->GetDlgItem(IDC_NEXT))->click();
    EXPECT_EQ(QuestionShown(), "Capital of Spain?");
    EXPECT_EQ(RecordBytes(), before);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(DrillTest, EmptyQuestionShowsTheEditHint) {
    DeckSpec deck{{{"", "x"}}};
    Start(deck);
    EXPECT_EQ(QuestionShown(), "{Push [Edit] button to edit this question and answer.}");
    Bytes bytes = DataBytes();
    EXPECT_EQ(bytes[RecordOffset(0) + 4], 0) << "the file keeps the empty question";
    Answer("x");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(0)), 1);
}

TEST_F(DrillTest, StaticColourFollowsTheDisplay) {
    Start(Capitals(), 256);
    EXPECT_EQ(quiz->StaticColor(), QColor(192, 192, 192));
    EXPECT_EQ(quiz->GetDlgItem(IDC_QUESTION_TEXT)->palette().color(QPalette::Window),
              QColor(192, 192, 192));
    EXPECT_EQ(AnswerBox()->palette().color(QPalette::Base), QColor(0, 0, 128));
}
