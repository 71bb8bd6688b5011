#include "MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder()
    : m_handler(SetMessageBoxHandler, [this](const MessageBoxRequest& request) {
          m_shown.push_back(request);
          if (m_answers.empty())
              return int{IDOK};
          int answer = m_answers.front();
          m_answers.pop_front();
          return answer;
      }) {}

std::vector<std::string> MessageBoxRecorder::Texts() const {
    std::vector<std::string> texts;
    for (const auto& request : m_shown)
        texts.push_back(request.text);
    return texts;
}
