#include "AnswerEdit.h"

#include "AnswerKeys.h"

#include <QKeyEvent>

CAnswerEdit::CAnswerEdit(int displayColors)
    : m_clrText(255, 222, 239),
      m_clrBack(displayColors <= 256 ? QColor(0, 0, 128) : QColor(74, 57, 41)) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, m_clrText);
    colours.setColor(QPalette::Base, m_clrBack);
    setPalette(colours);
}

int CAnswerEdit::CommandForKey(int key, Qt::KeyboardModifiers modifiers) {
    // Alt turns F7 to F9 into keys of the window system, which the box leaves alone.
    const bool alt = modifiers & Qt::AltModifier;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers & Qt::ControlModifier)
            return -1;
        return (modifiers & Qt::ShiftModifier) ? KEYCMD_EDIT : KEYCMD_ANSWER;
    case Qt::Key_F7:
        return alt ? -1 : KEYCMD_GO;
    case Qt::Key_F8:
        return alt ? -1 : KEYCMD_NEXT;
    case Qt::Key_F9:
        return alt ? -1 : KEYCMD_FUNCTION;
    default:
        return -1;
    }
}

void CAnswerEdit::keyPressEvent(QKeyEvent* event) {
    const int command = CommandForKey(event->key(), event->modifiers());
    if (command < 0) {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            (event->modifiers() & Qt::ControlModifier)) {
            insertPlainText(QStringLiteral("\n"));
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    SendUserMessage(parentWidget(), WM_ANSWERKEY, command);
}
