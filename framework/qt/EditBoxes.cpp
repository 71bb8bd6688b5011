#include "EditBoxes.h"

#include <QKeyEvent>

void CNumberEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed && !text.at(0).isDigit())
        return;
    QLineEdit::keyPressEvent(event);
}

CDialogTextBox::CDialogTextBox(const QString& text, QWidget* parent)
    : QPlainTextEdit(text, parent) {
    setTabChangesFocus(true);
}

void CDialogTextBox::keyPressEvent(QKeyEvent* event) {
    // Alt with a key is a mnemonic of the dialog, never text.
    if ((event->modifiers() & Qt::AltModifier) && !event->text().isEmpty()) {
        event->ignore();
        return;
    }
    if (TypeTabOnCtrlTab(*this, *event))
        return;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & Qt::ControlModifier) {
            insertPlainText(QStringLiteral("\n"));
            ensureCursorVisible();
        } else {
            event->ignore();
        }
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool TypeTabOnCtrlTab(QPlainTextEdit& box, const QKeyEvent& event) {
    if (event.key() != Qt::Key_Tab || event.modifiers() != Qt::ControlModifier)
        return false;
    box.insertPlainText(QStringLiteral("\t"));
    box.ensureCursorVisible();
    return true;
}

void FocusAndSelectAll(QWidget* control) {
    if (!control)
        return;
    control->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(control))
        line->selectAll();
    else if (auto* box = qobject_cast<QPlainTextEdit*>(control))
        box->selectAll();
}
