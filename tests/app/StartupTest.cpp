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

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

    // Sends a later start's request, with a token, on the session's socket; true once the
    // running copy has taken it (it comes forward in the same step).
    static bool AskToComeForward() {
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        (PrivateInstanceFolder() + "/quillow.socket")
            .copy(address.sun_path, sizeof address.sun_path - 1);
        const std::string request = "quillow: bring forward startup-id_42\n";
        std::string reply;
        const bool answered =
            ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::send(socket, request.data(), request.size(), MSG_NOSIGNAL) ==
                static_cast<ssize_t>(request.size()) &&
            QTest::qWaitFor(
                [&] {
                    char buffer[8];
                    const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
                    if (got > 0)
                        reply.append(buffer, static_cast<std::size_t>(got));
                    return got == 0 || reply.size() >= 3;
                },
                kWaitMs);
        ::close(socket);
        return answered && reply == "ok\n";
    }

    TempDir dir;
    MessageBoxRecorder boxes;
};

// No stored path, or an empty one; the default file there or not yet made, without a word.
TEST_F(StartupTest, FirstStartOpensTheDefaultFileAndStoresItsPath) {
    for (const bool emptyEntry : {false, true}) {
        SCOPED_TRACE(emptyEntry);
        ClearSettings();
        if (emptyEntry)
            Store(kFile1, "");
        std::filesystem::remove(DefaultFile());
        if (!emptyEntry)
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

    // A path that is not UTF-8 is a path all the same: stored, opened and stored again as bytes.
    const std::string latin1 = dir.File("caf\xE9.qld");
    MakeDeck(latin1);
    QSettings("Brightfen", "Quillow").setValue(kFile1, QByteArray::fromStdString(latin1));
    RunProgram();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_NE(Int32At(ReadFileBytes(latin1), 28), 0);
    EXPECT_EQ(QSettings("Brightfen", "Quillow").value(kFile1).toByteArray().toStdString(), latin1);
}

// A file that is not a data file ends the program; the next start opens the default file.
TEST_F(StartupTest, RefusedFileIsNotTriedAgain) {
    const std::string notes = dir.File("notes.qld");
    const Bytes text{'n', 'o', 't', 'e', 's', '\n'};
    WriteFileBytes(notes, text);
    Store(kFile1, notes);
    EXPECT_EXIT(RunProgram(), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(StoredSettings()[kFile1], DefaultFile());
    EXPECT_EQ(ReadFileBytes(notes), text);
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
