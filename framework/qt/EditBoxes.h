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

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Ctrl+Tab types a tab in a box where Tab moves on; true when the key was that one and is done.
bool TypeTabOnCtrlTab(QPlainTextEdit& box, const QKeyEvent& event);

// The focus on the box, its whole text selected.
void FocusAndSelectAll(QWidget* control);
