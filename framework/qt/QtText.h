#pragma once

#include <QString>

#include <string>

// The program keeps its texts as UTF-8 bytes; Qt's widgets hold QStrings.
inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string ToStdString(const QString& text) {
    return text.toStdString();
}

class QWidget;

// The text a control shows: a button's caption, a box's contents, a label's text.
QString WidgetText(const QWidget* control);
void SetWidgetText(QWidget* control, const QString& text);
