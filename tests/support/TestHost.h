#pragma once

#include "MessageBox.h"
#include "QuestionFileHost.h"
#include "StoreStatus.h"

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
    // As the application tells it: a message box, which the recorder sees.
    void Notify(const std::string& message) override { AfxMessageBox(message, MB_ICONEXCLAMATION); }

    std::int32_t now = 1'700'000'000;
    // Empty: the program's folder.
    std::string defaultDataFolder;

private:
    std::string m_dataFile;
    std::string m_folder;
};

using TestHost = TestHostOf<IQuestionFileHost>;

// As the quiz window takes a failure of the data file: its message in a box, which the recorder
// sees. True when it failed.
inline bool ShownFailure(const StoreStatus& status) {
    if (status.Failed())
        AfxMessageBox(status.message, MB_ICONEXCLAMATION);
    return status.Failed();
}
