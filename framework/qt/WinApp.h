#pragma once

#include <QApplication>

#include <string>

class QWidget;

// The application object: owns the QApplication, runs InitInstance and ExitInstance, and keeps
// the profile strings in the per-user settings.
class CWinApp {
public:
    CWinApp(int& argc, char** argv);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // InitInstance, the message loop when it answered true, then ExitInstance, whose result is
    // the exit status.
    int Run();

    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    // There is no registry: the settings file lives under the maker's name and the
    // application's title (string 57344), as QSettings' organisation and application.
    void SetRegistryKey(const std::string& company);
    // The stored string, or the default when it is missing, not a string or longer than 4096
    // bytes.
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) const;
    // A failure to store is ignored.
    void WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value);

    QWidget* m_pMainWnd = nullptr;

private:
    QApplication m_application;
    QString m_company;
    QString m_appName;
};

CWinApp* AfxGetApp();
