#pragma once

#include "Exit.h"
#include "MessageBox.h"
#include "QuestionFileHost.h"

#include <string>

// The tool's side of the question file: one data file, and no default file to fall back on.
class ToolHost : public IQuestionFileHost {
public:
    explicit ToolHost(std::string path) : m_path(std::move(path)) {}

    std::string GetDataFilePath() const override { return m_path; }
    // Only Load's fall-back sets the path: the tool ends rather than use another file.
    void SetDataFilePath(const std::string& path) override;
    std::string GetProgramFolder() const override;

private:
    std::string m_path;
};

// While it lives, the store's message boxes are lines "qld: FILE: message" on the error stream,
// and a failure of the store ends the tool with status 1 after the note of what was done.
class StoreReporting {
public:
    explicit StoreReporting(std::string file);
    ~StoreReporting();
    StoreReporting(const StoreReporting&) = delete;
    StoreReporting& operator=(const StoreReporting&) = delete;

    void SetNote(std::string note) { m_note = std::move(note); }
    // A file that a failure removes; empty: none.
    void RemoveOnFailure(std::string path) { m_removeOnFailure = std::move(path); }

private:
    std::string m_file;
    std::string m_note;
    std::string m_removeOnFailure;
    MessageBoxHandler m_previousBox;
    ExitHandler m_previousExit;
};
