#include "DataFileBuilder.h"
#include "PrivateUser.h"
#include "TempDir.h"

#include <QProcess>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 10000;
const std::string kDeckCaption = "Quillow V2.0 - deck.qld";
constexpr std::string_view kRequest = "quillow: bring forward\n";
// A user id that is not the tests' own.
constexpr uid_t kOtherUser = 65534;

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return address;
}

// A connection to the socket at the path; -1 when none could be made.
int Connect(const std::string& path) {
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(path);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return socket;
    ::close(socket);
    return -1;
}

// What the other end sends until it closes the connection; "(open)" appended when it does not
// close it within kWaitMs.
std::string ReadUntilClosed(int socket) {
    std::string received;
    pollfd wait{socket, POLLIN, 0};
    char buffer[256];
    for (;;) {
        if (::poll(&wait, 1, kWaitMs) <= 0)
            return received + "(open)";
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return received;
        received.append(buffer, static_cast<std::size_t>(got));
    }
}

// Sends the bytes and tells what came back before the connection closed.
std::string Ask(const std::string& path, std::string_view bytes) {
    const int socket = Connect(path);
    if (socket < 0)
        return "(no connection)";
    ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    const std::string answer = ReadUntilClosed(socket);
    ::close(socket);
    return answer;
}

// Runs the call in a child process that becomes another user after `prepare`, which runs as
// this one. The child's exit status is the call's result.
pid_t RunAsOtherUser(const std::function<bool()>& prepare, const std::function<int()>& call) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!prepare())
            ::_exit(124);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0)
            ::_exit(125);
        ::_exit(call());
    }
    return pid;
}

int ExitStatusOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Another user's process holding a lock and listening on a socket in the folder, which is
// made as that user's when it does not exist.
class Stranger {
public:
    explicit Stranger(const std::string& folder) {
        EXPECT_EQ(::pipe2(m_ready, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(m_finish, O_CLOEXEC), 0);
        int listener = -1;
        m_pid = RunAsOtherUser(
            [&] {
                if (::mkdir(folder.c_str(), 0700) == 0 &&
                    ::chown(folder.c_str(), kOtherUser, kOtherUser) != 0)
                    return false;
                const int lock = ::open((folder + "quillow.lock").c_str(), O_RDWR | O_CREAT, 0600);
                listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
                const sockaddr_un address = Address(folder + "quillow.socket");
                return ::flock(lock, LOCK_EX) == 0 &&
                       ::bind(listener, reinterpret_cast<const sockaddr*>(&address),
                              sizeof address) == 0;
            },
            [&] {
                // The credentials of the socket are those of the process that listens.
                char stop;
                if (::listen(listener, 8) != 0 || ::write(m_ready[1], "r", 1) != 1 ||
                    ::read(m_finish[0], &stop, 1) != 1)
                    return 126;
                ::fcntl(listener, F_SETFL, O_NONBLOCK);
                int withBytes = 0;
                for (int socket; (socket = ::accept(listener, nullptr, nullptr)) >= 0;)
                    withBytes += ReadUntilClosed(socket).empty() ? 0 : 1;
                return withBytes;
            });
        char byte;
        EXPECT_EQ(::read(m_ready[0], &byte, 1), 1) << "the stranger did not listen";
    }
    ~Stranger() {
        if (m_pid > 0)
            ConnectionsWithBytes();
        for (const int fd : {m_ready[0], m_ready[1], m_finish[0], m_finish[1]})
            ::close(fd);
    }

    // Ends the stranger: how many connections sent it anything.
    int ConnectionsWithBytes() {
        EXPECT_EQ(::write(m_finish[1], "f", 1), 1);
        return ExitStatusOf(std::exchange(m_pid, 0));
    }

private:
    int m_ready[2] = {-1, -1};
    int m_finish[2] = {-1, -1};
    pid_t m_pid = 0;
};

// Copies of the real program started by one user, with a deck in the temporary folder that the
// stored settings point to, so that no message box ever blocks a copy.
class ProgramProcessTest : public ::testing::Test {
protected:
    ProgramProcessTest() : user(dir.Path()) {
        deckBytes = MakeDataFile({.cards = {{"Capital of France?", "Paris"}, {"2 + 2", "4"}}});
        WriteFileBytes(Deck(), deckBytes);
        WriteSettings(user.SettingsFile(), {{kFile1, Deck()}});
    }

    std::string Deck() const { return dir.File("deck.qld"); }
    std::string Socket() const { return user.RuntimeFolder() + "quillow.socket"; }
    SettingsEntries Stored() const { return ReadSettings(user.SettingsFile()); }

    // childSetup runs in the new process before the program.
    QProcess& Start(const std::string& program = QUILLOW_EXECUTABLE,
                    const std::function<void()>& childSetup = {}) {
        auto& process = *copies.emplace_back(std::make_unique<QProcess>());
        if (childSetup)
            process.setChildProcessModifier(childSetup);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QString::fromStdString(program), {});
        EXPECT_TRUE(process.waitForStarted(kWaitMs));
        return process;
    }

    // A copy stores its caption once its window is up.
    bool WaitForStoredTitle(const std::string& caption) const {
        return QTest::qWaitFor([&] { return Stored()[kTitle] == caption; }, kWaitMs);
    }
    // A copy of the program in a folder of its own, which holds its default data file.
    std::string CopyOfTheProgram(const std::string& name = "program/") const {
        const std::string folder = dir.File(name);
        fs::create_directories(folder);
        const fs::path built = QUILLOW_EXECUTABLE;
        for (const char* beside : {"backimg.bmp", "Quillow.wav", "manual.txt"})
            if (fs::exists(built.parent_path() / beside))
                fs::copy_file(built.parent_path() / beside, folder + beside);
        fs::copy_file(built, folder + "quillow");
        return folder;
    }

    static void Signal(QProcess& process, int signal) {
        ::kill(static_cast<pid_t>(process.processId()), signal);
    }
    static bool HasEnded(QProcess& process, int waitMs) {
        return process.state() == QProcess::NotRunning || process.waitForFinished(waitMs);
    }
    static bool IsRunning(QProcess& process) { return !HasEnded(process, 100); }
    // Whether it ended by itself, with status 0.
    static bool EndsWithStatusZero(QProcess& process) {
        return HasEnded(process, kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    TempDir dir;
    PrivateUser user;
    QProcessEnvironment environment = user.Environment(); // of the copies started
    Bytes deckBytes;
    std::vector<std::unique_ptr<QProcess>> copies; // killed, if still running, at the end
};

// The lock, not the socket, says whether a copy runs; a later start hands its request over and
// ends without reading the data file or writing the settings.
TEST_F(ProgramProcessTest, KilledCopyDoesNotKeepTheNextFromRunning) {
    QProcess& killed = Start();
    ASSERT_TRUE(WaitForStoredTitle(kDeckCaption));
    Signal(killed, SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(kWaitMs));
    ASSERT_TRUE(fs::is_socket(Socket())) << "the killed copy left no socket behind";
    ASSERT_EQ(Ask(Socket(), kRequest), "(no connection)");

    WriteSettings(user.SettingsFile(), {{kFile1, Deck()}});
    QProcess& next = Start();
    ASSERT_TRUE(WaitForStoredTitle(kDeckCaption));
    const Bytes settings = ReadFileBytes(user.SettingsFile());
    const Bytes deck = ReadFileBytes(Deck());

    QProcess& third = Start();
    EXPECT_TRUE(EndsWithStatusZero(third));
    EXPECT_TRUE(IsRunning(next));
    EXPECT_EQ(ReadFileBytes(user.SettingsFile()), settings);
    EXPECT_EQ(ReadFileBytes(Deck()), deck);

    // A copy that does not answer still keeps a start from running beside it.
    Signal(next, SIGSTOP);
    QProcess& unanswered = Start();
    EXPECT_TRUE(HasEnded(unanswered, kWaitMs));
    EXPECT_EQ(unanswered.exitCode(), 1);
    Signal(next, SIGCONT);

    Signal(next, SIGTERM);
    EXPECT_TRUE(EndsWithStatusZero(next));
}

// As a double click on a launcher starts two. The session ending, Ctrl+C or kill end the copy
// that runs as its close box does.
TEST_F(ProgramProcessTest, TwoStartsAtTheSameInstantRunOneCopy) {
    for (int pair = 0; pair < 20; ++pair) {
        SCOPED_TRACE(pair);
        QProcess& a = Start();
        QProcess& b = Start();
        QProcess* ended = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                ended = HasEnded(a, 0) ? &a : HasEnded(b, 0) ? &b : nullptr;
                return ended != nullptr;
            },
            kWaitMs));
        QProcess& running = ended == &a ? b : a;
        EXPECT_TRUE(EndsWithStatusZero(*ended));
        EXPECT_TRUE(IsRunning(running));
        Signal(running, std::array{SIGTERM, SIGINT, SIGHUP}[pair % 3]);
        EXPECT_TRUE(EndsWithStatusZero(running));
        copies.clear();
    }
}

TEST_F(ProgramProcessTest, StartWhileTheFirstCopyShowsItsFirstMessageBoxDoesNotRun) {
    const std::string folder = CopyOfTheProgram();
    WriteSettings(user.SettingsFile(), {{kFile1, dir.File("gone.qld")}});
    QProcess& first = Start(folder + "quillow");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::is_socket(Socket()); }, kWaitMs));
    QProcess& second = Start(folder + "quillow");
    EXPECT_TRUE(EndsWithStatusZero(second));
    EXPECT_TRUE(IsRunning(first));
    // Message 112 ("File not found.") is still open: the default file comes after it.
    EXPECT_FALSE(FileExists(folder + "Quillow.qld"));
}

// A flood of idle connections and garbage, then a start: it is still answered, and the idle
// and the garbage connections are closed.
TEST_F(ProgramProcessTest, IdleAndGarbageConnectionsDoNotKeepAStartFromBeingAnswered) {
    // The usual limit of descriptors, which 1100 idle connections would exceed.
    QProcess& running = Start(QUILLOW_EXECUTABLE, [] {
        const rlimit usual{1024, 1024};
        ::setrlimit(RLIMIT_NOFILE, &usual);
    });
    ASSERT_TRUE(WaitForStoredTitle(kDeckCaption));
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
    ::setrlimit(RLIMIT_NOFILE, &files);
    std::vector<int> idle;
    for (int k = 0; k < 1100; ++k)
        idle.push_back(Connect(Socket()));
    EXPECT_EQ(std::count(idle.begin(), idle.end(), -1), 0);
    for (const std::string& garbage :
         {std::string("hello\n"), std::string("quillow: bring forwardly\n"),
          std::string("quillow: bring forward\r\n"), std::string(4096, 'x')})
        EXPECT_EQ(Ask(Socket(), garbage), "") << garbage.substr(0, 40);

    QProcess& later = Start();
    EXPECT_TRUE(EndsWithStatusZero(later));
    EXPECT_TRUE(IsRunning(running));
    EXPECT_EQ(ReadUntilClosed(idle.back()), "");
    for (const int socket : idle)
        ::close(socket);
    EXPECT_EQ(Ask(Socket(), "quillow: bring forward xdg-token_1.2\n"), "ok\n");
}

// Another user's socket is never spoken to, whichever end it is on.
TEST_F(ProgramProcessTest, AnotherUsersSocketIsIgnored) {
    if (::getuid() != 0)
        GTEST_SKIP() << "only root can run a process as another user";
    // A stranger holding the lock and listening at the socket: the start runs as the first copy,
    // and a later one finds it.
    Stranger inRuntimeFolder(user.RuntimeFolder());
    QProcess& first = Start();
    ASSERT_TRUE(WaitForStoredTitle(kDeckCaption));
    EXPECT_EQ(inRuntimeFolder.ConnectionsWithBytes(), 0) << "the start spoke to the stranger";
    QProcess& later = Start();
    EXPECT_TRUE(EndsWithStatusZero(later));
    EXPECT_TRUE(IsRunning(first));

    // A stranger who can reach the running copy's socket is not answered.
    for (fs::path folder = fs::path(Socket()).parent_path(); folder != folder.root_path();
         folder = folder.parent_path())
        fs::permissions(folder, fs::perms::others_exec, fs::perm_options::add);
    fs::permissions(Socket(), fs::perms::all, fs::perm_options::add);
    const pid_t asking =
        RunAsOtherUser([] { return true; }, [&] { return Ask(Socket(), kRequest) == "" ? 0 : 1; });
    EXPECT_EQ(ExitStatusOf(asking), 0) << "the stranger was answered";
    EXPECT_EQ(Ask(Socket(), kRequest), "ok\n");
    copies.clear();

    // Without a runtime folder, a stranger's folder of the name under the temporary folder is
    // never used: the start runs.
    Stranger inTemporaryFolder(user.TempFolder() + "quillow-" + std::to_string(::getuid()) + "/");
    environment.remove("XDG_RUNTIME_DIR");
    WriteSettings(user.SettingsFile(), {{kFile1, Deck()}});
    Start();
    EXPECT_TRUE(WaitForStoredTitle(kDeckCaption));
    EXPECT_EQ(inTemporaryFolder.ConnectionsWithBytes(), 0) << "the start spoke to the stranger";
}

// The folder's name is not UTF-8, and the copy is started through a link. Only the end, on the
// session's signal, can store the data file's path and save its header.
TEST_F(ProgramProcessTest, UnreadableSettingsGiveTheDefaultsAndTheEndStoresThem) {
    const auto startedAt = static_cast<std::int32_t>(std::time(nullptr));
    const std::string folder = CopyOfTheProgram("caf\xE9/");
    WriteFileBytes(folder + "Quillow.qld", deckBytes);
    Bytes junk;
    for (int round = 0; round < 3; ++round)
        for (int byte = 0; byte < 256; ++byte)
            junk.push_back(static_cast<std::uint8_t>(byte));
    WriteFileBytes(user.SettingsFile(), junk);

    fs::create_symlink(folder + "quillow", dir.File("quillow"));

    QProcess& copy = Start(dir.File("quillow"));
    ASSERT_TRUE(WaitForStoredTitle("Quillow V2.0 - Quillow.qld"));
    EXPECT_EQ(Stored().count(kFile1), 0u);
    Signal(copy, SIGTERM);
    EXPECT_TRUE(EndsWithStatusZero(copy));
    EXPECT_EQ(Stored()[kFile1], folder + "Quillow.qld");
    const Bytes deck = ReadFileBytes(folder + "Quillow.qld");
    ASSERT_EQ(deck.size(), deckBytes.size());
    EXPECT_GE(Int32At(deck, 28), startedAt) << "the header was not saved";
    EXPECT_TRUE(std::equal(deckBytes.begin() + 104, deckBytes.end(), deck.begin() + 104));
}

} // namespace
