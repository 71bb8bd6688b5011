#pragma once

#include <QWidget>

class QLineEdit;

// Two arrow buttons beside a number box: they and the box's Up and Down keys step its number
// by one, never below 0.
class CUpDown : public QWidget {
public:
    CUpDown(QLineEdit* buddy, QWidget* parent);

    void Step(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy;
};
