#pragma once

#include "QuestionFileHost.h"
#include "StoreStatus.h"

#include <string>

// The tool's side of the question file: one data file, opened by the tool itself, and no default
// file to fall back on.
class ToolHost : public IQuestionFileHost {
public:
    explicit ToolHost(std::string path) : m_path(std::move(path)) {}

    std::string GetDataFilePath() const override { return m_path; }
    // Only a fall-back on another file sets the path, and the tool never falls back.
    void SetDataFilePath(const std::string&) override {}
    std::string GetProgramFolder() const override;
    // A line "qld: FILE: message" on the error stream.
    void Notify(const std::string& message) override;

private:
    std::string m_path;
};

// False after saying on the error stream, as "qld: FILE: message", what a store operation could
// not do.
bool Succeeded(const std::string& file, const StoreStatus& status);
