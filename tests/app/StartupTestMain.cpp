// The main of the start-up tests: the program's own application object, living in a private
// home with its settings in a private folder, as the session's one copy.
#include "PrivateUser.h"
#include "SingleInstance.h"
#include "StartupTestApp.h"
#include "TempDir.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <stdlib.h>

namespace {

CQuillowApp* g_app = nullptr;

} // namespace

CQuillowApp& TheApp() {
    return *g_app;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TempDir root;
    PrivateUser user(root.Path());
    user.Export();
    // Listing the tests while building runs this too, where no platform is set.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(user.ConfigFolder()));
    // The session's copy: requests reach the application object as in the program.
    CSingleInstance instance;
    if (instance.Claim("") != CSingleInstance::ROLE_FIRST)
        return 1;
    CQuillowApp app(argc, argv, instance.Listener());
    g_app = &app;
    const int status = RUN_ALL_TESTS();
    g_app = nullptr;
    return status;
}
