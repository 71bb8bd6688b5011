#pragma once

#include "DataFileBuilder.h"
#include "MessageBoxRecorder.h"
#include "QuizDlg.h"
#include "TempDir.h"
#include "TestQuizHost.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// A quiz window on a deck in a fresh folder, driven through its real widgets.
class QuizTest : public ::testing::Test {
protected:
    static DeckSpec Capitals() {
        return DeckSpec{{{"Capital of France?", "Paris"},
                         {"Capital of Italy?", "Rome"},
                         {"Capital of Spain?", "Madrid"}}};
    }

    // "Question 1" to "Question 12", answered "a1" to "a12".
    static DeckSpec TwelveQuestions();

    void Start(const DeckSpec& deck, int displayColors = 257);
    void TearDown() override;

    std::string DataPath() const { return dir.File("deck.qld"); }
    Bytes DataBytes() const { return ReadFileBytes(DataPath()); }
    // The data file without its header, which every advance may rewrite.
    Bytes RecordBytes() const;

    // The question text of a record as the disk holds it.
    std::string QuestionInFile(int slot) const;

    QPlainTextEdit* AnswerBox() const;
    std::string QuestionShown() const { return quiz->GetDlgItemText(IDC_QUESTION_TEXT); }
    void Type(const QString& text) { QTest::keyClicks(AnswerBox(), text); }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(AnswerBox(), key, modifiers);
    }
    void Answer(const QString& text) {
        Type(text);
        Press(Qt::Key_Return);
    }
    // Chooses an item of the Function menu, opened with F9.
    void Choose(int command);
    // Runs the event loop until the condition holds or the time runs out.
    bool WaitFor(const std::function<bool()>& condition, int milliseconds = 3000);

    TempDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<TestQuizHost> host;
    std::unique_ptr<CQuizDlg> quiz;
};
