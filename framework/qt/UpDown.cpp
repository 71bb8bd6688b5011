#include "UpDown.h"

#include "NumberParsing.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

CUpDown::CUpDown(QLineEdit* buddy, QWidget* parent) : QWidget(parent), m_buddy(buddy) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [arrow, delta, name] :
         {std::tuple{Qt::UpArrow, 1, "Up"}, std::tuple{Qt::DownArrow, -1, "Down"}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAccessibleName(QString::fromLatin1(name));
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, delta = delta] { Step(delta); });
        layout->addWidget(button);
    }
    if (m_buddy)
        m_buddy->installEventFilter(this);
}

void CUpDown::Step(int delta) {
    if (!m_buddy)
        return;
    const auto value = ParseUnsignedInteger(m_buddy->text().toStdString()).value_or(0);
    const long long next = std::max(0LL, static_cast<long long>(value) + delta);
    m_buddy->setText(QString::number(std::min<long long>(next, 4294967295LL)));
    m_buddy->selectAll();
}

bool CUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
