#include "DataFileBuilder.h"
#include "PrivateUser.h"
#include "SettingsFile.h"
#include "TempDir.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 10000;
const std::string kDeckCaption = "Quillow V2.0 - deck.qld";

// Polls until the condition holds; false after kWaitMs.
template <class F> bool WaitUntil(F&& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Copies of the real program started by one user, with a deck in the temporary folder that the
// stored settings point to, so that no message box ever blocks a copy.
class ProgramProcessTest : public ::testing::Test {
protected:
    ProgramProcessTest() : user(dir.Path()) {
        deckBytes = MakeDataFile({.cards = {{"Capital of France?", "Paris"}, {"2 + 2", "4"}}});
        WriteFileBytes(Deck(), deckBytes);
        WriteSettingsFile(user.SettingsFile(), {{kFile1, Deck()}});
    }

    std::string Deck() const { return dir.File("deck.qld"); }
    SettingsEntries Stored() const { return ReadSettingsFile(user.SettingsFile()); }
    Bytes SettingsBytes() const { return ReadFileBytes(user.SettingsFile()); }

    QProcess& Start(const std::string& program = QUILLOW_EXECUTABLE) {
        auto& process = *copies.emplace_back(std::make_unique<QProcess>());
        process.setProcessEnvironment(user.Environment());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QString::fromStdString(program), {});
        EXPECT_TRUE(process.waitForStarted(kWaitMs));
        return process;
    }

    // A copy has set its caption, and listens under it, once it has stored it.
    bool WaitForStoredTitle(const std::string& caption) const {
        return WaitUntil([&] { return Stored()[kTitle] == caption; });
    }

    // Whether a copy listens on the socket; it ignores a connection that asks nothing.
    static bool Answers(const std::string& socketPath) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(socketPath));
        return socket.waitForConnected(kWaitMs);
    }
    static void Signal(QProcess& process, int signal) {
        ::kill(static_cast<pid_t>(process.processId()), signal);
    }
    static bool IsRunning(QProcess& process) { return !process.waitForFinished(100); }
    // Whether it ended by itself, with status 0.
    static bool EndsWithStatusZero(QProcess& process) {
        return process.waitForFinished(kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    TempDir dir;
    PrivateUser user;
    Bytes deckBytes;
    std::vector<std::unique_ptr<QProcess>> copies; // killed, if still running, at the end
};

TEST_F(ProgramProcessTest, KilledCopyDoesNotKeepTheNextFromRunning) {
    QProcess& killed = Start();
    ASSERT_TRUE(WaitForStoredTitle(kDeckCaption));
    Signal(killed, SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(kWaitMs));
    std::string staleSocket;
    for (const auto& entry : fs::directory_iterator(user.TempFolder()))
        if (entry.is_socket())
            staleSocket = entry.path().string();
    ASSERT_FALSE(staleSocket.empty()) << "the killed copy left no socket behind";
    ASSERT_FALSE(Answers(staleSocket));

    QProcess& next = Start();
    ASSERT_TRUE(WaitUntil([&] { return Answers(staleSocket); }));
    EXPECT_TRUE(IsRunning(next));

    QProcess& third = Start();
    EXPECT_TRUE(EndsWithStatusZero(third));
    EXPECT_TRUE(IsRunning(next));

    Signal(next, SIGTERM);
    EXPECT_TRUE(EndsWithStatusZero(next));
}

class TerminationTest : public ProgramProcessTest, public ::testing::WithParamInterface<int> {};

// The session ending, Ctrl+C or kill end the program as its close box does.
TEST_P(TerminationTest, SignalEndsTheProgramAsClosingDoes) {
    const auto startedAt = static_cast<std::int32_t>(std::time(nullptr));
    QProcess& copy = Start();
    ASSERT_TRUE(WaitForStoredTitle(kDeckCaption));
    // Without File1, so that only the exit can have stored it.
    WriteSettingsFile(user.SettingsFile(), {{kTitle, kDeckCaption}});

    Signal(copy, GetParam());
    EXPECT_TRUE(EndsWithStatusZero(copy));
    EXPECT_EQ(Stored(), (SettingsEntries{{kFile1, Deck()}, {kTitle, kDeckCaption}}));
    const Bytes deck = ReadFileBytes(Deck());
    ASSERT_GE(deck.size(), deckBytes.size());
    EXPECT_GE(Int32At(deck, 28), startedAt) << "the header was not saved";
    EXPECT_TRUE(std::equal(deckBytes.begin() + 104, deckBytes.end(), deck.begin() + 104));
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

TEST_F(ProgramProcessTest, UnreadableSettingsGiveTheDefaults) {
    // A copy of the program whose folder holds the default data file; the folder's name is not
    // UTF-8, and the copy is started through a link.
    const std::string folder = dir.File("caf\xE9/");
    fs::create_directories(folder);
    const fs::path built = QUILLOW_EXECUTABLE;
    for (const char* beside : {"backimg.bmp", "Quillow.wav", "manual.txt"})
        if (fs::exists(built.parent_path() / beside))
            fs::copy_file(built.parent_path() / beside, folder + beside);
    fs::copy_file(built, folder + "quillow");
    WriteFileBytes(folder + "Quillow.qld", deckBytes);
    Bytes junk;
    for (int round = 0; round < 3; ++round)
        for (int byte = 0; byte < 256; ++byte)
            junk.push_back(static_cast<std::uint8_t>(byte));
    WriteFileBytes(user.SettingsFile(), junk);

    fs::create_symlink(folder + "quillow", dir.File("quillow"));

    QProcess& copy = Start(dir.File("quillow"));
    ASSERT_TRUE(WaitForStoredTitle("Quillow V2.0 - Quillow.qld"));
    Signal(copy, SIGTERM);
    EXPECT_TRUE(EndsWithStatusZero(copy));
    const QSettings stored(QString::fromStdString(user.SettingsFile()), QSettings::IniFormat);
    EXPECT_EQ(stored.value(kFile1).toByteArray().toStdString(), folder + "Quillow.qld");
}

} // namespace
