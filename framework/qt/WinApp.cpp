#include "WinApp.h"

#include "MessageBox.h"
#include "QtMessageBox.h"
#include "QtText.h"
#include "ResourceIds.h"
#include "Strings.h"

#include <QSettings>
#include <QStringDecoder>

namespace {

CWinApp* g_pApp = nullptr;
// Longer than any path the system takes: no value that the program stored.
constexpr std::size_t kLongestProfileString = 4096;

// A value is stored as text when it is UTF-8, else as its bytes: a path on Linux is bytes, and
// a name in another encoding must come back as it was.
QVariant ProfileValue(const std::string& value) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArray::fromStdString(value));
    if (utf8.hasError())
        return QByteArray::fromStdString(value);
    return text;
}

} // namespace

CWinApp::CWinApp(int& argc, char** argv)
    : m_application(argc, argv), m_appName(ToQString(LoadString(IDS_APP_TITLE))) {
    g_pApp = this;
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(m_appName);
    SetMessageBoxHandler(ShowQtMessageBox);
}

CWinApp::~CWinApp() {
    SetMessageBoxHandler(nullptr);
    g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

// False from InitInstance skips the message loop: a program whose window runs its loop inside
// InitInstance answers false, and ends through ExitInstance at once.
int CWinApp::Run() {
    if (InitInstance())
        QApplication::exec();
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const std::string& company) {
    m_company = ToQString(company);
    QApplication::setOrganizationName(m_company);
}

std::string CWinApp::GetProfileString(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue) const {
    QSettings settings(m_company, m_appName);
    if (settings.status() != QSettings::NoError)
        return defaultValue;
    const QVariant value = settings.value(ToQString(section + "/" + entry));
    std::string text;
    if (value.typeId() == QMetaType::QByteArray)
        text = value.toByteArray().toStdString();
    else if (value.typeId() == QMetaType::QString)
        text = ToStdString(value.toString());
    else
        return defaultValue;
    return text.size() > kLongestProfileString ? defaultValue : text;
}

void CWinApp::WriteProfileString(const std::string& section, const std::string& entry,
                                 const std::string& value) {
    QSettings settings(m_company, m_appName);
    const QString key = ToQString(section + "/" + entry);
    const QVariant stored = ProfileValue(value);
    // Writing the settings file costs a flush to the disk: skip it when nothing changes.
    if (settings.value(key) == stored)
        return;
    settings.setValue(key, stored);
    settings.sync();
}
