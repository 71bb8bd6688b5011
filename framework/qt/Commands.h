#pragma once

#include <span>

// One entry of a window class's command table: a button or menu command id and its handler.
template <class Window> struct CommandEntry {
    int id;
    void (Window::*handler)();
};

// Runs the handler of id from the table; false when the table has none.
template <class Window>
bool DispatchCommand(Window* window, std::span<const CommandEntry<Window>> table, int id) {
    for (const auto& entry : table) {
        if (entry.id == id) {
            (window->*entry.handler)();
            return true;
        }
    }
    return false;
}
