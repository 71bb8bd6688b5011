#include "QuestionFileHost.h"

#include <ctime>

std::int32_t IQuestionFileHost::GetCurrentTime() const {
    return static_cast<std::int32_t>(std::time(nullptr));
}
