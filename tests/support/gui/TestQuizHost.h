#pragma once

#include "QuizHost.h"

#include <string>

// The application's side of the quiz window in tests.
class TestQuizHost final : public IQuizHost {
public:
    TestQuizHost(std::string dataFile, std::string programFolder, int displayColors = 257)
        : m_dataFile(std::move(dataFile)), m_folder(std::move(programFolder)),
          m_displayColors(displayColors) {}

    std::string GetDataFilePath() const override { return m_dataFile; }
    void SetDataFilePath(const std::string& path) override { m_dataFile = path; }
    std::string GetProgramFolder() const override { return m_folder; }
    int GetDisplayColors() const override { return m_displayColors; }
    void StoreCaption(const std::string& caption) override { storedCaption = caption; }

    std::string storedCaption;

private:
    std::string m_dataFile;
    std::string m_folder;
    int m_displayColors;
};
