// The main of the GUI tests: one application object, with settings in a private folder.
#include "TempDir.h"
#include "WinApp.h"

#include <QSettings>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class TestApp : public CWinApp {
public:
    using CWinApp::CWinApp;
    bool InitInstance() override { return false; }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery runs the program outside CTest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TempDir settings, runtime, home;
    std::filesystem::permissions(runtime.Path(), std::filesystem::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.Path()));
    qputenv("HOME", QByteArray::fromStdString(home.Path()));
    qputenv("TMPDIR", QByteArray::fromStdString(home.Path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings.Path()));
    TestApp app(argc, argv);
    app.SetRegistryKey("Brightfen");
    return RUN_ALL_TESTS();
}
