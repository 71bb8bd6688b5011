#include "DataFileBuilder.h"
#include "Dialog.h"
#include "MessageBoxRecorder.h"
#include "QtText.h"
#include "ScopedHandler.h"
#include "SettingsFile.h"
#include "SingleInstance.h"
#include "StartupTestApp.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

constexpr int kWaitMs = 5000;

// What one start of the program showed.
struct StartResult {
    bool windowOpened = false;
    std::string caption;
    bool visible = false;
    std::optional<std::string> titleWhileOpen;
    int exitStatus = -1;
};

// Starts of the program in this process, as main runs them, with the settings in a private
// folder and the default data file in the test program's folder.
class StartupTest : public ::testing::Test {
protected:
    StartupTest() { ClearSettings(); }
    ~StartupTest() override {
        std::filesystem::remove(DefaultFile());
        ClearSettings();
    }

    static std::string DefaultFile() {
        return ToStdString(QCoreApplication::applicationDirPath()) + "/Quillow.qld";
    }
    static std::string SettingsPath() {
        return ToStdString(QSettings("Brightfen", "Quillow").fileName());
    }
    static SettingsEntries StoredSettings() { return ReadSettingsFile(SettingsPath()); }
    static void Store(const std::string& entry, const std::string& value) {
        QSettings("Brightfen", "Quillow").setValue(ToQString(entry), ToQString(value));
    }
    static void ClearSettings() { QSettings("Brightfen", "Quillow").clear(); }

    static void MakeDeck(const std::string& path) {
        WriteFileBytes(path, MakeDataFile({.cards = {{"Capital of France?", "Paris"}}}));
    }

    // InitInstance, then ExitInstance. The quiz window, once it shows, is seen by `whileOpen` and
    // then closed by its close box.
    StartResult RunProgram(const std::function<void(CDialog&)>& whileOpen = {}) {
        StartResult run;
        ScopedHandler dialogs(CDialog::SetModalRunHandler, [&](CDialog& dialog) {
            run.windowOpened = true;
            run.caption = ToStdString(dialog.windowTitle());
            run.visible = dialog.isVisible();
            // The window finishes its start once the first question is on screen.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return dialog.findChild<QSystemTrayIcon*>() != nullptr; }, kWaitMs));
            const SettingsEntries stored = StoredSettings();
            if (auto it = stored.find(kTitle); it != stored.end())
                run.titleWhileOpen = it->second;
            if (whileOpen)
                whileOpen(dialog);
            dialog.close();
        });
        EXPECT_FALSE(TheApp().InitInstance());
        run.exitStatus = TheApp().ExitInstance();
        return run;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
};

// No stored path, or an empty one.
TEST_F(StartupTest, FirstStartOpensTheDefaultFileAndStoresItsPath) {
    for (const bool emptyEntry : {false, true}) {
        SCOPED_TRACE(emptyEntry);
        ClearSettings();
        if (emptyEntry)
            Store(kFile1, "");
        MakeDeck(DefaultFile());
        const StartResult run = RunProgram();
        ASSERT_TRUE(run.windowOpened);
        EXPECT_EQ(run.caption, "Quillow V2.0 - Quillow.qld");
        EXPECT_TRUE(run.visible);
        EXPECT_EQ(run.titleWhileOpen, run.caption);
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(StoredSettings(), (SettingsEntries{{kFile1, DefaultFile()},
                                                     {kTitle, "Quillow V2.0 - Quillow.qld"}}));
    }
}

TEST_F(StartupTest, StoredFileIsOpenedAndStoredAgain) {
    const std::string deck = dir.File("deck.qld");
    MakeDeck(deck);
    Store(kFile1, deck);
    const StartResult run = RunProgram();
    EXPECT_EQ(run.caption, "Quillow V2.0 - deck.qld");
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(StoredSettings(),
              (SettingsEntries{{kFile1, deck}, {kTitle, "Quillow V2.0 - deck.qld"}}));
    EXPECT_FALSE(FileExists(DefaultFile()));
    // Closing the window saved the header.
    EXPECT_NE(Int32At(ReadFileBytes(deck), 28), 0);
}

TEST_F(StartupTest, MissingStoredFileFallsBackToTheDefaultFileForGood) {
    MakeDeck(DefaultFile());
    const std::string gone = dir.File("gone.qld");
    Store(kFile1, gone);
    const StartResult run = RunProgram();
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{"File not found.\n\n" + gone +
                                       "\n\nAfter this message, I'll read a default data file."});
    EXPECT_EQ(run.caption, "Quillow V2.0 - Quillow.qld");
    EXPECT_EQ(StoredSettings()[kFile1], DefaultFile());
    EXPECT_FALSE(FileExists(gone));

    // The next start opens the file that the last run had open, without a word.
    boxes.Clear();
    EXPECT_EQ(RunProgram().caption, "Quillow V2.0 - Quillow.qld");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(StartupTest, StartWhileACopyRunsOnlyAsksItToComeForward) {
    const std::string caption = "Quillow V2.0 - deck.qld";
    Store(kTitle, caption);
    Store(kFile1, dir.File("deck.qld")); // missing: reading it would show message 112
    const Bytes settingsBefore = ReadFileBytes(SettingsPath());
    int requests = 0;
    {
        CInstanceServer runningCopy([&] { ++requests; });
        runningCopy.Listen(ToQString(caption));

        const StartResult run = RunProgram();
        EXPECT_FALSE(run.windowOpened);
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(ReadFileBytes(SettingsPath()), settingsBefore);
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, kWaitMs));
    }

    // Once that copy has gone, a start runs as usual and stores its file at the end.
    MakeDeck(DefaultFile());
    Store(kFile1, "");
    const StartResult run = RunProgram();
    EXPECT_TRUE(run.windowOpened);
    EXPECT_EQ(StoredSettings()[kFile1], DefaultFile());
    EXPECT_EQ(requests, 1);
}

TEST_F(StartupTest, CopyUnderAnotherCaptionIsNotTheRunningCopy) {
    const std::string deck = dir.File("deck.qld");
    MakeDeck(deck);
    Store(kTitle, "Quillow V2.0 - deck.qld");
    Store(kFile1, deck);
    int requests = 0;
    CInstanceServer otherCopy([&] { ++requests; });
    otherCopy.Listen("Quillow V2.0 - other.qld");

    const StartResult run = RunProgram();
    EXPECT_TRUE(run.windowOpened);
    EXPECT_EQ(run.caption, "Quillow V2.0 - deck.qld");
    QCoreApplication::processEvents();
    EXPECT_EQ(requests, 0);
}

// A later start reaches the running window through its caption: a window hidden by the program
// stays hidden (here, without a tray, minimised), one minimised by the user is restored.
TEST_F(StartupTest, RunningWindowComesForwardByTheRules) {
    MakeDeck(DefaultFile());
    bool askedWhileHidden = false;
    bool stayedHidden = false;
    bool askedWhileMinimised = false;
    bool restored = false;
    RunProgram([&](CDialog& window) {
        const QString caption = window.windowTitle();
        window.SendCommand(IDC_HIDE);
        askedWhileHidden = BringRunningCopyForward(caption);
        QTest::qWait(200);
        stayedHidden = !window.isVisible() || window.isMinimized();

        window.showNormal();
        QTest::qWait(50);
        window.showMinimized();
        askedWhileMinimised = BringRunningCopyForward(caption);
        restored = QTest::qWaitFor([&] { return !window.isMinimized(); }, kWaitMs);
    });
    EXPECT_TRUE(askedWhileHidden);
    EXPECT_TRUE(stayedHidden);
    EXPECT_TRUE(askedWhileMinimised);
    EXPECT_TRUE(restored);
}

} // namespace
