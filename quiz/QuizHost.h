#pragma once

#include "QuestionFileHost.h"

// What the quiz window needs of the application besides the data file's whereabouts.
class IQuizHost : public IQuestionFileHost {
public:
    // The display's colour count; 257 stands for more than 256.
    virtual int GetDisplayColors() const = 0;
    // Kept between runs: the caption the window last had.
    virtual void StoreCaption(const std::string& caption) = 0;

protected:
    ~IQuizHost() = default;
};
