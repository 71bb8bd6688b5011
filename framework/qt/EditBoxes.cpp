#include "EditBoxes.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBoundaryFinder>
#include <QTextDocumentFragment>

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
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        Insert(QStringLiteral("\t"));
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & Qt::ControlModifier)
            Insert(QStringLiteral("\n"));
        else
            event->ignore();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).category() != QChar::Other_Control &&
        !(event->modifiers() & Qt::ControlModifier) && Fitting(typed) != typed) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CDialogTextBox::insertFromMimeData(const QMimeData* source) {
    Insert(source->text());
}

void CDialogTextBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const QString fitting = Fitting(commit);
    if (fitting == commit) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fitting, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

QString CDialogTextBox::Fitting(const QString& text) const {
    if (m_byteLimit < 0)
        return text;
    const qsizetype kept =
        toPlainText().toUtf8().size() - textCursor().selection().toPlainText().toUtf8().size();
    const qsizetype room = m_byteLimit - kept;
    if (text.toUtf8().size() <= room)
        return text;
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype next = clusters.toNextBoundary();
         next > 0 && text.left(next).toUtf8().size() <= room; next = clusters.toNextBoundary())
        end = next;
    return text.left(end);
}

void CDialogTextBox::Insert(const QString& text) {
    const QString fitting = Fitting(text);
    if (fitting != text)
        QApplication::beep();
    insertPlainText(fitting);
    ensureCursorVisible();
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
