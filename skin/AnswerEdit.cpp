#include "AnswerEdit.h"

#include "AnswerKeys.h"
#include "EditBoxes.h"

#include <QKeyEvent>

CAnswerEdit::CAnswerEdit(int displayColors)
    : m_clrText(255, 222, 239),
      m_clrBack(displayColors <= 256 ? QColor(0, 0, 128) : QColor(74, 57, 41)) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, m_clrText);
    colours.setColor(QPalette::Base, m_clrBack);
    setPalette(colours);
    // The box scrolls to the cursor by itself; a bar of the platform's grey has no place on the
    // skin.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

int CAnswerEdit::CommandForKey(int key, Qt::KeyboardModifiers modifiers) {
    // Alt turns a key into one of the window system's, which sends nothing.
    if (modifiers & Qt::AltModifier)
        return -1;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers & Qt::ControlModifier)
            return -1;
        return (modifiers & Qt::ShiftModifier) ? KEYCMD_EDIT : KEYCMD_ANSWER;
    case Qt::Key_F7:
        return KEYCMD_GO;
    case Qt::Key_F8:
        return KEYCMD_NEXT;
    case Qt::Key_F9:
        return KEYCMD_FUNCTION;
    default:
        return -1;
    }
}

void CAnswerEdit::keyPressEvent(QKeyEvent* event) {
    const int command = CommandForKey(event->key(), event->modifiers());
    if (command >= 0) {
        SendUserMessage(parentWidget(), WM_ANSWERKEY, command);
        return;
    }
    // Keys held with Alt do nothing here, and leave a composition as it is (AltGr is no Alt).
    if (event->modifiers() & Qt::AltModifier)
        return;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Ctrl+Enter starts a new line.
        insertPlainText(QStringLiteral("\n"));
        ensureCursorVisible();
        return;
    }
    if (TypeTabOnCtrlTab(*this, *event))
        return;
    QPlainTextEdit::keyPressEvent(event);
}
