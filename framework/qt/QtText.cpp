#include "QtText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

QString WidgetText(const QWidget* control) {
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* line = qobject_cast<const QLineEdit*>(control))
        return line->text();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(control))
        return box->toPlainText();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    return control ? control->windowTitle() : QString();
}

void SetWidgetText(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setText(text);
    else if (auto* box = qobject_cast<QPlainTextEdit*>(control))
        box->setPlainText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (control)
        control->setWindowTitle(text);
}
