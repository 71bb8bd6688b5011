#include "QuizFixture.h"

#include "GotoDlg.h"
#include "QuestionEditDlg.h"
#include "ScopedHandler.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace {

// Answers the go-to dialog with the text, and records what it showed.
struct GoToAnswer {
    explicit GoToAnswer(QString text) : typed(std::move(text)) {}
    QString typed;
    std::string shownNumber, shownRange;

    ScopedHandler<CDialog::ModalRunHandler> Install() {
        return {CDialog::SetModalRunHandler, [this](CDialog& dialog) {
                    shownNumber = dialog.GetDlgItemText(IDC_GOTO_NUMBER);
                    shownRange = dialog.GetDlgItemText(IDC_GOTO_RANGE);
                    auto* box = qobject_cast<QLineEdit*>(dialog.GetDlgItem(IDC_GOTO_NUMBER));
                    box->setText(typed);
                    QTest::keyClick(box, typed.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
                }};
    }
};

DeckSpec InRangeFiveToTen(DeckSpec deck) {
    deck.rangeFrom = 4;
    deck.rangeTo = 9;
    deck.position = 4;
    return deck;
}

} // namespace

using GoAndEditTest = QuizTest;

TEST_F(GoAndEditTest, GoWithinTheRangeContinuesThere) {
    Start(InRangeFiveToTen(TwelveQuestions()));
    EXPECT_EQ(QuestionShown(), "Question 5");
    GoToAnswer answer("10");
    {
        auto script = answer.Install();
        Press(Qt::Key_F7);
    }
    EXPECT_EQ(answer.shownNumber, "5");
    EXPECT_EQ(answer.shownRange, "between 5 and 10");
    EXPECT_EQ(QuestionShown(), "Question 10");
    EXPECT_EQ(Int32At(DataBytes(), 8), 9) << "the position is on disk at once";
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(GoAndEditTest, GoOutsideTheRangeSaysSoUpToTheLimit) {
    Start(InRangeFiveToTen(TwelveQuestions()));
    const Bytes before = DataBytes();
    for (const char* number : {"11", "4", "0", "-3", "1000", "1001", "99999999999"}) {
        GoToAnswer answer(number);
        auto script = answer.Install();
        qobject_cast<QAbstractButton*>(quiz->GetDlgItem(IDC_GO))->click();
    }
    std::vector<std::string> refused;
    for (const char* number : {"11", "4", "0", "-3", "1000"})
        refused.push_back(QString("If you want to go to the question number '%1',\n\nyou have to "
                                  "change the current question range first!")
                              .arg(number)
                              .toStdString());
    EXPECT_EQ(boxes.Texts(), refused) << "1001 and beyond say nothing";
    EXPECT_EQ(boxes.Shown()[0].type, unsigned{MB_ICONEXCLAMATION});
    EXPECT_EQ(QuestionShown(), "Question 5");
    EXPECT_EQ(DataBytes(), before);

    GoToAnswer cancel("");
    auto script = cancel.Install();
    Press(Qt::Key_F7);
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(GoAndEditTest, EditedCurrentQuestionShowsAtOnce) {
    Start(Capitals());
    Type("Par");
    int runs = 0;
    ScopedHandler<CDialog::ModalRunHandler> script(
        CDialog::SetModalRunHandler, [&](CDialog& dialog) {
            ++runs;
            EXPECT_NE(dynamic_cast<CQuestionEditDlg*>(&dialog), nullptr);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Capital of France?");
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "1 of 3");
            dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Capital of Peru?");
            dialog.SetDlgItemText(IDC_EDIT_ANSWER, "Lima");
            qobject_cast<QAbstractButton*>(dialog.GetDlgItem(IDC_EDIT_NEXT))->click();
            dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Capital of Chile?");
            QTest::keyClick(dialog.GetDlgItem(IDC_EDIT_QUESTION), Qt::Key_Return);
        });
    Press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(QuestionShown(), "Capital of Peru?");
    EXPECT_EQ(AnswerBox()->toPlainText(), "Par") << "the typed answer stays";
    EXPECT_EQ(QuestionInFile(1), "Capital of Chile?");
    AnswerBox()->clear();
    Answer("lima");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(0)), 1);
}
