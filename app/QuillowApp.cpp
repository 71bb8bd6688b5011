#include "QuillowApp.h"

#include "DataFolder.h"
#include "DisplayColors.h"
#include "MessageBox.h"
#include "QtText.h"
#include "QuizDlg.h"
#include "TerminationSignals.h"
#include "UserFolders.h"
#include "WindowActivation.h"

#include <QCoreApplication>
#include <QScreen>

#include <filesystem>

namespace {

constexpr const char* kSection = "Recent QLD File";
constexpr const char* kDefaultDataFile = "Quillow.qld";

} // namespace

CQuillowApp::CQuillowApp(int& argc, char** argv) : CWinApp(argc, argv) {
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QUILLOW_APP_ID);
}

bool CQuillowApp::InitInstance() {
    SetRegistryKey("Brightfen");
    const std::string title = GetProfileString(kSection, "Title", "ExtraQuillow");
    m_bFoundRunningCopy = BringRunningCopyForward(ToQString(title));
    if (m_bFoundRunningCopy)
        return false;

    m_strProgramFolder = ToStdString(QCoreApplication::applicationDirPath()) + "/";
    m_strDataFile = GetProfileString(kSection, "File1", "");
    if (m_strDataFile.empty())
        m_strDataFile = GetDefaultDataFolder() + kDefaultDataFile;
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_nDisplayColors = DisplayColorsForDepth(screen ? screen->depth() : 32);

    CQuizDlg quiz(*this);
    m_pMainWnd = m_pQuiz = &quiz;
    m_server = std::make_unique<CInstanceServer>(
        [this](const QByteArray& token) { BringMainWindowForward(token); });
    QObject::connect(&quiz, &QWidget::windowTitleChanged, m_server.get(),
                     [this](const QString& caption) { m_server->Listen(caption); });
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
    return false;
}

int CQuillowApp::ExitInstance() {
    if (!m_bFoundRunningCopy)
        WriteProfileString(kSection, "File1", m_strDataFile);
    return CWinApp::ExitInstance();
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
    if (!window || (window->IsHiddenToTray() && window->IsTrayShown()))
        return;
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
