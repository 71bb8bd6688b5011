#pragma once

#include "MessageBox.h"
#include "ScopedHandler.h"

#include <deque>
#include <vector>

// Records every message box while it lives and answers them from a script (then IDOK).
class MessageBoxRecorder {
public:
    MessageBoxRecorder();

    void AnswerNext(int answer) { m_answers.push_back(answer); }
    const std::vector<MessageBoxRequest>& Shown() const { return m_shown; }
    std::vector<std::string> Texts() const;
    void Clear() { m_shown.clear(); }

private:
    std::vector<MessageBoxRequest> m_shown;
    std::deque<int> m_answers;
    ScopedHandler<MessageBoxHandler> m_handler;
};
