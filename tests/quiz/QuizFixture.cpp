#include "QuizFixture.h"

#include "PopupMenu.h"
#include "ScopedHandler.h"

#include <QElapsedTimer>
#include <QSystemTrayIcon>

DeckSpec QuizTest::TwelveQuestions() {
    DeckSpec deck;
    for (int i = 1; i <= 12; ++i)
        deck.cards.emplace_back("Question " + std::to_string(i), "a" + std::to_string(i));
    return deck;
}

void QuizTest::Start(const DeckSpec& deck, int displayColors) {
    WriteFileBytes(DataPath(), MakeDataFile(deck));
    WriteFileBytes(dir.File("backimg.bmp"), ReadFileBytes(QUILLOW_SKIN_PICTURE));
    host = std::make_unique<TestQuizHost>(DataPath(), dir.Path(), displayColors);
    quiz = std::make_unique<CQuizDlg>(*host);
    quiz->Create();
    quiz->show();
    // The window finishes its start once the first question is on screen.
    EXPECT_TRUE(WaitFor([&] { return quiz->findChild<QSystemTrayIcon*>() != nullptr; }));
}

void QuizTest::TearDown() {
    if (quiz)
        quiz->DestroyWindow();
}

Bytes QuizTest::RecordBytes() const {
    Bytes bytes = DataBytes();
    return Bytes(bytes.begin() + std::min<std::size_t>(104, bytes.size()), bytes.end());
}

std::string QuizTest::QuestionInFile(int slot) const {
    const Bytes bytes = DataBytes();
    return reinterpret_cast<const char*>(&bytes.at(RecordOffset(slot) + 4));
}

QPlainTextEdit* QuizTest::AnswerBox() const {
    return qobject_cast<QPlainTextEdit*>(quiz->GetDlgItem(IDC_ANSWER_BOX));
}

void QuizTest::Choose(int command) {
    ScopedHandler menu(SetPopupMenuHandler, [command](QMenu&, QPoint) { return command; });
    Press(Qt::Key_F9);
    QCoreApplication::processEvents();
}

bool QuizTest::WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
