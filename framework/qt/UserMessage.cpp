#include "UserMessage.h"

#include <QCoreApplication>
#include <QWidget>

QEvent::Type CUserMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void SendUserMessage(QWidget* target, unsigned message, std::intptr_t wParam) {
    if (!target)
        return;
    CUserMessageEvent event(message, wParam);
    QCoreApplication::sendEvent(target, &event);
}
