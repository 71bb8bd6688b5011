#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

// A one-line box that takes only digits when typed into; pasted text arrives as it is.
class CNumberEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A dialog's multi-line box: Enter goes on to the dialog (its default button), Ctrl+Enter starts
// a new line, Tab moves on to the next control and Ctrl+Tab types a tab, Alt with a key goes to
// the dialog's mnemonics.
class CDialogTextBox : public QPlainTextEdit {
public:
    CDialogTextBox(const QString& text, QWidget* parent);

    // The box holds at most this many bytes of UTF-8: what is typed, pasted, dropped or composed
    // beyond them is refused with a beep, a paste cut after the last whole character that fits.
    void LimitText(int bytes) { m_byteLimit = bytes; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // The start of text that fits in place of the selection.
    QString Fitting(const QString& text) const;
    void Insert(const QString& text);

    int m_byteLimit = -1;
};

// Ctrl+Tab types a tab in a box where Tab moves on; true when the key was that one and is done.
bool TypeTabOnCtrlTab(QPlainTextEdit& box, const QKeyEvent& event);

// The focus on the box, its whole text selected.
void FocusAndSelectAll(QWidget* control);
