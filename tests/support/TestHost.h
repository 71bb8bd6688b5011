#pragma once

#include "QuestionFileHost.h"

#include <string>

// The application's side of the question file, with a clock that the test sets.
class TestHost : public IQuestionFileHost {
public:
    TestHost(std::string dataFile, std::string programFolder)
        : m_dataFile(std::move(dataFile)), m_folder(std::move(programFolder)) {}

    std::string GetDataFilePath() const override { return m_dataFile; }
    void SetDataFilePath(const std::string& path) override { m_dataFile = path; }
    std::string GetProgramFolder() const override { return m_folder; }
    std::string GetDefaultDataFolder() const override {
        return defaultDataFolder.empty() ? IQuestionFileHost::GetDefaultDataFolder()
                                         : defaultDataFolder;
    }
    std::int32_t GetCurrentTime() const override { return now; }

    std::int32_t now = 1'700'000'000;
    // Empty: the program's folder.
    std::string defaultDataFolder;

private:
    std::string m_dataFile;
    std::string m_folder;
};
