#pragma once

#include "InstanceServer.h"
#include "QuizHost.h"
#include "WinApp.h"

#include <memory>
#include <string>

class CQuizDlg;

// The application object: settles which data file the quiz window opens, runs it, brings it
// forward when a later start asks, and stores the data file's path at the end.
class CQuillowApp : public CWinApp, public IQuizHost {
public:
    // Later starts' requests arrive on the listener (-1: none).
    CQuillowApp(int& argc, char** argv, int instanceListener);

    bool InitInstance() override;
    int ExitInstance() override;

    std::string GetDataFilePath() const override { return m_strDataFile; }
    void SetDataFilePath(const std::string& path) override { m_strDataFile = path; }
    std::string GetProgramFolder() const override { return m_strProgramFolder; }
    // Made when it is asked for and is not the program's folder.
    std::string GetDefaultDataFolder() const override;
    void Notify(const std::string& message) override;
    int GetDisplayColors() const override { return m_nDisplayColors; }
    void StoreCaption(const std::string& caption) override;

    std::string m_strProgramFolder;
    std::string m_strDataFile;
    int m_nDisplayColors = 0;

private:
    void BringMainWindowForward(const QByteArray& activationToken);

    CQuizDlg* m_pQuiz = nullptr;
    int m_nInstanceListener;
    std::unique_ptr<CInstanceServer> m_server;
};
