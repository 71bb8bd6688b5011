// The main of the GUI tests: one application object, with settings in a private folder.
#include "TempDir.h"
#include "WinApp.h"

#include <QSettings>
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
    TempDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settings.Path()));
    TestApp app(argc, argv);
    app.SetRegistryKey("Brightfen");
    return RUN_ALL_TESTS();
}
