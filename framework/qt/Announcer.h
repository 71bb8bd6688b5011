#pragma once

#include <QWidget>

// Says a text to screen readers where the keyboard stays: a notification that takes no room on
// screen. A text is said whenever the window shows and each time it is announced, the same text
// again too.
class CAnnouncer : public QWidget {
public:
    explicit CAnnouncer(QWidget* parent);

    void Announce(const QString& text);
};
