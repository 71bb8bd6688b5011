#include "QuestionFileHost.h"

#include <ctime>

std::string IQuestionFileHost::GetDefaultDataFolder() const {
    return GetProgramFolder();
}

std::int32_t IQuestionFileHost::GetCurrentTime() const {
    return static_cast<std::int32_t>(std::time(nullptr));
}
