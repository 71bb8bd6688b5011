#include "AnswerEdit.h"
#include "AnswerKeys.h"

#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A window that records the key commands its answer box sends.
class CommandRecorder : public QWidget {
public:
    std::vector<std::intptr_t> commands;

protected:
    bool event(QEvent* event) override {
        if (event->type() != CUserMessageEvent::EventType())
            return QWidget::event(event);
        if (auto* message = static_cast<CUserMessageEvent*>(event);
            message->message == WM_ANSWERKEY)
            commands.push_back(message->wParam);
        return true;
    }
};

} // namespace

// The command (-1: none) arrives before the key click returns; a key without one reaches the box.
TEST(AnswerEditTest, KeysSendTheirCommandsOrReachTheBox) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int, const char*> cases[] = {
        {Qt::Key_Return, Qt::NoModifier, KEYCMD_ANSWER, ""},
        {Qt::Key_Enter, Qt::KeypadModifier, KEYCMD_ANSWER, ""},
        {Qt::Key_Return, Qt::ShiftModifier, KEYCMD_EDIT, ""},
        {Qt::Key_Return, Qt::ControlModifier, -1, "\n"},
        {Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, -1, "\n"},
        {Qt::Key_Return, Qt::AltModifier, -1, ""},
        {Qt::Key_Tab, Qt::NoModifier, -1, ""},
        {Qt::Key_Tab, Qt::ControlModifier, -1, "\t"},
        {Qt::Key_F7, Qt::NoModifier, KEYCMD_GO, ""},
        {Qt::Key_F8, Qt::ControlModifier, KEYCMD_NEXT, ""},
        {Qt::Key_F9, Qt::NoModifier, KEYCMD_FUNCTION, ""},
        {Qt::Key_F7, Qt::AltModifier, -1, ""},
        {Qt::Key_A, Qt::NoModifier, -1, "a"}};
    for (const auto& [key, modifiers, command, typed] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "key " << QTest::toString(key) << " modifiers " << int(modifiers));
        CommandRecorder window;
        auto* box = new CAnswerEdit(257);
        box->setParent(&window);
        QTest::keyClick(box, key, modifiers);
        EXPECT_EQ(window.commands,
                  command < 0 ? std::vector<std::intptr_t>{} : std::vector<std::intptr_t>{command});
        EXPECT_EQ(box->toPlainText().toStdString(), typed);
    }
}

// The skin's colours, and no scroll bar of the platform's: a long answer scrolls to the cursor.
TEST(AnswerEditTest, GroundIsNavyOnDisplaysOf256ColoursOrFewer) {
    CAnswerEdit fewColours(256), manyColours(257);
    EXPECT_EQ(fewColours.palette().color(QPalette::Base), QColor(0, 0, 128));
    EXPECT_EQ(manyColours.palette().color(QPalette::Base), QColor(74, 57, 41));
    EXPECT_EQ(manyColours.palette().color(QPalette::Text), QColor(255, 222, 239));

    manyColours.resize(422, 62);
    manyColours.show();
    for (int line = 0; line < 8; ++line)
        QTest::keyClick(&manyColours, Qt::Key_Return, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(manyColours.verticalScrollBar()->isVisible());
    EXPECT_TRUE(manyColours.viewport()->rect().contains(manyColours.cursorRect()));
}
