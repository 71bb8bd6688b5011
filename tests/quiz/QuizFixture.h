#pragma once

#include "DataFileBuilder.h"
#include "GotoDlg.h"
#include "MessageBoxRecorder.h"
#include "PopupMenu.h"
#include "QuizDlg.h"
#include "ScopedHandler.h"
#include "TempDir.h"
#include "TestQuizHost.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// A quiz window on a deck in a fresh folder, driven through its real widgets.
class QuizTest : public ::testing::Test {
public:
    static DeckSpec Capitals(int optionFlags = 0, int popupMinutes = 1) {
        DeckSpec deck{{{"Capital of France?", "Paris"},
                       {"Capital of Italy?", "Rome"},
                       {"Capital of Spain?", "Madrid"}}};
        deck.optionFlags = optionFlags;
        deck.popupMinutes = popupMinutes;
        return deck;
    }
    // "Question 1" to "Question 12", answered "a1" to "a12".
    static DeckSpec TwelveQuestions() {
        DeckSpec deck;
        for (int i = 1; i <= 12; ++i)
            deck.cards.emplace_back("Question " + std::to_string(i), "a" + std::to_string(i));
        return deck;
    }

    // Starts (or starts again) on the deck; done once the first question is on screen.
    void Start(const DeckSpec& deck, int displayColors = 257) {
        TearDown();
        WriteFileBytes(DataPath(), MakeDataFile(deck));
        WriteFileBytes(dir.File("backimg.bmp"), ReadFileBytes(QUILLOW_SKIN_PICTURE));
        host = std::make_unique<TestQuizHost>(DataPath(), dir.Path(), displayColors);
        quiz = std::make_unique<CQuizDlg>(*host);
        quiz->Create();
        quiz->show();
        EXPECT_TRUE(WaitFor([&] { return quiz->findChild<QSystemTrayIcon*>() != nullptr; }));
    }
    void TearDown() override {
        if (quiz)
            quiz->DestroyWindow();
    }

    std::string DataPath() const { return dir.File("deck.qld"); }
    Bytes DataBytes() const { return ReadFileBytes(DataPath()); }
    std::int32_t At(std::size_t offset) const { return Int32At(DataBytes(), offset); }
    std::int32_t Correct(int slot) const { return At(CorrectCountOffset(slot)); }
    // The data file without its header, which every advance may rewrite.
    Bytes RecordBytes() const {
        const Bytes bytes = DataBytes();
        return Bytes(bytes.begin() + 104, bytes.end());
    }

    QPlainTextEdit* AnswerBox() const {
        return qobject_cast<QPlainTextEdit*>(quiz->GetDlgItem(IDC_ANSWER_BOX));
    }
    std::string QuestionShown() const { return quiz->GetDlgItemText(IDC_QUESTION_TEXT); }
    bool Shown() const { return quiz->IsShownToUser(); }
    bool TimerRuns() const { return quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER); }
    void Type(const QString& text) { QTest::keyClicks(AnswerBox(), text); }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(AnswerBox(), key, modifiers);
    }
    void Answer(const QString& text) {
        AnswerBox()->clear();
        Type(text);
        Press(Qt::Key_Return);
    }
    static void Click(const CDialog& window, int id) {
        qobject_cast<QAbstractButton*>(window.GetDlgItem(id))->click();
    }
    // Chooses an item of the Function menu, opened with F9.
    void Choose(int command) {
        ScopedHandler menu(SetPopupMenuHandler, [command](QMenu&, QPoint) { return command; });
        Press(Qt::Key_F9);
        QCoreApplication::processEvents();
    }
    // Runs the action, each dialog it opens driven by the script; returns how many ran.
    static int WithDialogs(const std::function<void(CDialog&)>& script,
                           const std::function<void()>& action) {
        int runs = 0;
        ScopedHandler dialogs(CDialog::SetModalRunHandler, [&](CDialog& dialog) {
            ++runs;
            script(dialog);
        });
        action();
        return runs;
    }
    // Types the number into the go-to dialog and ends it, cancelling when there is none.
    static void GoTo(CDialog& dialog, const QString& number) {
        QWidget* box = dialog.GetDlgItem(IDC_GOTO_NUMBER);
        qobject_cast<QLineEdit*>(box)->setText(number);
        QTest::keyClick(box, number.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    }
    // Runs the event loop until the condition holds or the time runs out.
    static bool WaitFor(const std::function<bool()>& condition, int milliseconds = 3000) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > milliseconds)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<TestQuizHost> host;
    std::unique_ptr<CQuizDlg> quiz;
};
