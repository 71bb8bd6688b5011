#pragma once

#include "QuestionFileHost.h"

#include <string>

// The application's side of the question file (or of a window that drives one), with a clock
// that the test sets.
template <class Host> class TestHostOf : public Host {
public:
    TestHostOf(std::string dataFile, std::string programFolder)
        : m_dataFile(std::move(dataFile)), m_folder(std::move(programFolder)) {}

    std::string GetDataFilePath() const override { return m_dataFile; }
    void SetDataFilePath(const std::string& path) override { m_dataFile = path; }
    std::string GetProgramFolder() const override { return m_folder; }
    std::string GetDefaultDataFolder() const override {
        return defaultDataFolder.empty() ? Host::GetDefaultDataFolder() : defaultDataFolder;
    }
    std::int32_t GetCurrentTime() const override { return now; }

    std::int32_t now = 1'700'000'000;
    // Empty: the program's folder.
    std::string defaultDataFolder;

private:
    std::string m_dataFile;
    std::string m_folder;
};

using TestHost = TestHostOf<IQuestionFileHost>;
