#pragma once

#include <QColor>
#include <QPlainTextEdit>

// The answer box: light text on the skin's dark ground, and the keys that run the drill
// (Enter answers, Shift+Enter edits, F7 goes, F8 moves on, F9 opens the menu), sent to the
// parent window as WM_ANSWERKEY before the key handler returns.
class CAnswerEdit : public QPlainTextEdit {
public:
    explicit CAnswerEdit(int displayColors);

    // The command code for a key, or -1 when the box handles the key itself.
    static int CommandForKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor m_clrText;
    QColor m_clrBack;
};
