#include "DataFileBuilder.h"
#include "Dialog.h"
#include "MessageBoxRecorder.h"
#include "PrivateUser.h"
#include "QtText.h"
#include "QuillowApp.h"
#include "ScopedHandler.h"
#include "SingleInstance.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 5000;
CQuillowApp* g_app = nullptr;

// What one start of the program showed.
struct StartResult {
    std::string caption; // empty when no window opened
    bool visible = false;
    std::string titleWhileOpen;
    int exitStatus = -1;
};

// Starts of the program in this process, as main runs them, with the settings in the private
// user's folder and the default data file in the test program's folder.
class StartupTest : public ::testing::Test {
protected:
    ~StartupTest() override {
        fs::remove(DefaultFile());
        WriteSettings(SettingsPath(), {});
    }

    static std::string DefaultFile() {
        return ToStdString(QCoreApplication::applicationDirPath()) + "/Quillow.qld";
    }
    static std::string SettingsPath() {
        return ToStdString(QSettings("Brightfen", "Quillow").fileName());
    }
    static void MakeDeck(const std::string& path) {
        WriteFileBytes(path, MakeDataFile({.cards = {{"Capital of France?", "Paris"}}}));
    }

    // InitInstance, then ExitInstance. The quiz window, once it shows, is seen by `whileOpen` and
    // then closed by its close box.
    static StartResult RunProgram(const std::function<void(CDialog&)>& whileOpen = {}) {
        StartResult run;
        ScopedHandler dialogs(CDialog::SetModalRunHandler, [&](CDialog& dialog) {
            run.caption = ToStdString(dialog.windowTitle());
            run.visible = dialog.isVisible();
            // The window finishes its start once the first question is on screen.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return dialog.findChild<QSystemTrayIcon*>() != nullptr; }, kWaitMs));
            run.titleWhileOpen = ReadSettings(SettingsPath())[kTitle];
            if (whileOpen)
                whileOpen(dialog);
            dialog.close();
        });
        EXPECT_FALSE(g_app->InitInstance());
        run.exitStatus = g_app->ExitInstance();
        return run;
    }

    // A later start, with a token, as main makes it: true once the running copy took its request
    // (it comes forward in the same step).
    static bool AskToComeForward() {
        auto later =
            std::async(std::launch::async, [] { return CSingleInstance().Claim("startup-id_42"); });
        return QTest::qWaitFor(
                   [&] {
                       return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
                   },
                   kWaitMs) &&
               later.get() == CSingleInstance::ROLE_ASKED;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
};

// The stored path (none, empty, a deck, one that is not UTF-8, a gone one) and the default file
// there or not yet made: the file opened, its header saved on closing, and its path stored.
TEST_F(StartupTest, StartOpensTheStoredFileOrTheDefaultOneAndStoresItsPath) {
    const std::string deck = dir.File("deck.qld"), latin1 = dir.File("caf\xE9.qld");
    const std::string gone = dir.File("gone.qld");
    MakeDeck(deck);
    MakeDeck(latin1);
    const struct {
        std::optional<std::string> stored;
        bool defaultThere;
        std::string opened;
        std::vector<std::string> boxes;
    } cases[] = {{std::nullopt, true, DefaultFile(), {}},
                 {"", false, DefaultFile(), {}},
                 {deck, false, deck, {}},
                 {latin1, false, latin1, {}},
                 {gone,
                  true,
                  DefaultFile(),
                  {"File not found.\n\n" + gone +
                   "\n\nAfter this message, I'll read a default data file."}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.value_or("(none)"));
        WriteSettings(SettingsPath(),
                      c.stored ? SettingsEntries{{kFile1, *c.stored}} : SettingsEntries{});
        fs::remove(DefaultFile());
        if (c.defaultThere)
            MakeDeck(DefaultFile());
        boxes.Clear();
        const StartResult run = RunProgram();
        // The caption shows a name that is not UTF-8 as best it can; the stored title keeps it.
        const std::string title = "Quillow V2.0 - " + fs::path(c.opened).filename().string();
        if (c.opened != latin1) {
            EXPECT_EQ(run.caption, title);
        }
        EXPECT_TRUE(run.visible);
        EXPECT_EQ(run.titleWhileOpen, title);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(boxes.Texts(), c.boxes);
        EXPECT_EQ(ReadSettings(SettingsPath()),
                  (SettingsEntries{{kFile1, c.opened}, {kTitle, title}}));
        EXPECT_NE(Int32At(ReadFileBytes(c.opened), 28), 0) << "the header was not saved";
        EXPECT_EQ(FileExists(DefaultFile()), c.opened == DefaultFile());
        EXPECT_FALSE(FileExists(gone));
    }
}

// A file that is not a data file ends the program; the next start opens the default file.
TEST_F(StartupTest, RefusedFileIsNotTriedAgain) {
    const std::string notes = dir.File("notes.qld");
    const Bytes text{'n', 'o', 't', 'e', 's', '\n'};
    WriteFileBytes(notes, text);
    WriteSettings(SettingsPath(), {{kFile1, notes}});
    EXPECT_EXIT(RunProgram(), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadSettings(SettingsPath())[kFile1], DefaultFile());
    EXPECT_EQ(ReadFileBytes(notes), text);
}

// A later start's request reaches the running window. Without a tray (as here) the launcher is
// the way back to a hidden window, so it shows it; one minimised by the user is restored.
TEST_F(StartupTest, RunningWindowComesForwardByTheRules) {
    MakeDeck(DefaultFile());
    bool shown = false;
    bool restored = false;
    RunProgram([&](CDialog& window) {
        window.SendCommand(IDC_HIDE);
        ASSERT_TRUE(AskToComeForward());
        shown =
            QTest::qWaitFor([&] { return window.isVisible() && !window.isMinimized(); }, kWaitMs);

        window.showNormal();
        QTest::qWait(50);
        window.showMinimized();
        ASSERT_TRUE(AskToComeForward());
        restored = QTest::qWaitFor([&] { return !window.isMinimized(); }, kWaitMs);
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(restored);
}

} // namespace

// The program's own application object, living in a private home with its settings in a private
// folder, as the session's one copy; the program's copies that the tests start live there too.
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
    return RUN_ALL_TESTS();
}
