#pragma once

#include "QuizHost.h"
#include "TestHost.h"

// The application's side of the quiz window in tests, on a display of more than 256 colours.
class TestQuizHost final : public TestHostOf<IQuizHost> {
public:
    using TestHostOf::TestHostOf;
    int GetDisplayColors() const override { return 257; }
    void StoreCaption(const std::string& caption) override { storedCaption = caption; }
    std::string storedCaption;
};
