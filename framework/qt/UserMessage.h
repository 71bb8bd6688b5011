#pragma once

#include <QEvent>

#include <cstdint>

class QWidget;

// The program's own messages between its windows.
enum : unsigned { WM_USER = 0x0400 };

class CUserMessageEvent : public QEvent {
public:
    CUserMessageEvent(unsigned message, std::intptr_t wParam)
        : QEvent(EventType()), message(message), wParam(wParam) {}
    static QEvent::Type EventType();

    unsigned message;
    std::intptr_t wParam;
};

// Hands the message to the target's handler before it returns.
void SendUserMessage(QWidget* target, unsigned message, std::intptr_t wParam);
