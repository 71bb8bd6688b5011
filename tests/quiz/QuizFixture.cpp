#include "QuizFixture.h"

#include <QElapsedTimer>

void QuizTest::Start(const DeckSpec& deck, int displayColors) {
    WriteFileBytes(DataPath(), MakeDataFile(deck));
    WriteFileBytes(dir.File("backimg.bmp"), ReadFileBytes(QUILLOW_SKIN_PICTURE));
    host = std::make_unique<TestQuizHost>(DataPath(), dir.Path(), displayColors);
    quiz = std::make_unique<CQuizDlg>(*host);
    quiz->Create();
    quiz->show();
    QCoreApplication::processEvents();
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
