#include "QuillowApp.h"

#include "DataFolder.h"
#include "DisplayColors.h"
#include "Exit.h"
#include "MessageBox.h"
#include "ProgramFolder.h"
#include "QuizDlg.h"
#include "TerminationSignals.h"
#include "UserFolders.h"
#include "WindowActivation.h"

#include <QScreen>

#include <filesystem>

namespace {

constexpr const char* kSection = "Recent QLD File";
// The data file's path; the caption is kept beside it as "Title".
constexpr const char* kDataFileEntry = "File1";

} // namespace

CQuillowApp::CQuillowApp(int& argc, char** argv, int instanceListener)
    : CWinApp(argc, argv), m_nInstanceListener(instanceListener) {
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QUILLOW_APP_ID);
}

bool CQuillowApp::InitInstance() {
    SetRegistryKey("Brightfen");
    // Requests wait in the listener's queue until the first event loop, a message box's too.
    if (m_nInstanceListener >= 0)
        m_server = std::make_unique<CInstanceServer>(
            m_nInstanceListener,
            [this](const QByteArray& activationToken) { BringMainWindowForward(activationToken); });
    m_strProgramFolder = ProgramFolder();
    // Empty on a first start: the quiz window opens the default data file.
    m_strDataFile = GetProfileString(kSection, kDataFileEntry, "");
    // A data-file failure ends the program at once: the file it then had open (after a refused
    // file, the default one) is the one the next start opens.
    ExitHandler previousExitHandler;
    previousExitHandler = SetExitHandler([this, &previousExitHandler](int status) {
        WriteProfileString(kSection, kDataFileEntry, m_strDataFile);
        if (previousExitHandler)
            previousExitHandler(status);
    });
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_nDisplayColors = DisplayColorsForDepth(screen ? screen->depth() : 32);

    CQuizDlg quiz(*this);
    m_pMainWnd = m_pQuiz = &quiz;
    CTerminationSignals termination([&quiz] {
        // An open menu runs a loop of its own, which would hold the end back until it closed.
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->done(IDCANCEL);
        quiz.EndDialog(IDCANCEL);
    });
    quiz.DoModal();
    m_server.reset();
    m_pMainWnd = m_pQuiz = nullptr;
    SetExitHandler(std::move(previousExitHandler));
    return false;
}

int CQuillowApp::ExitInstance() {
    WriteProfileString(kSection, kDataFileEntry, m_strDataFile);
    return CWinApp::ExitInstance();
}

void CQuillowApp::StoreCaption(const std::string& caption) {
    WriteProfileString(kSection, "Title", caption);
}

void CQuillowApp::Notify(const std::string& message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
}

std::string CQuillowApp::GetDefaultDataFolder() const {
    const std::string folder = DefaultDataFolder(m_strProgramFolder, UserDataHome());
    if (folder != m_strProgramFolder) {
        // A folder that cannot be made shows as the default file that cannot be created.
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    return folder;
}

// A window hidden in the tray stays there, where its icon brings it back. Any other window comes
// up in front with the launcher's token, a minimised one restored: without a tray the launcher is
// the way back to a hidden window. An open dialog comes to the top with it and takes the keyboard.
void CQuillowApp::BringMainWindowForward(const QByteArray& activationToken) {
    CQuizDlg* window = m_pQuiz;
    if (!window || (window->IsWaitingToPopUp() && window->IsTrayShown())) {
        EndLauncherStartup(activationToken);
        return;
    }
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog == window) {
        window->PopUp(activationToken);
        return;
    }
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    ActivateWindow(*dialog, activationToken);
}
