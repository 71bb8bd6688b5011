#include "DataFileBuilder.h"
#include "DataFolder.h"

#include <QProcess>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 10000;
constexpr const char* kFile1 = "Recent QLD File/File1";
constexpr const char* kTitle = "Recent QLD File/Title";
const std::string kRequest = "quillow: bring forward\n";
constexpr uid_t kOtherUser = 65534;

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
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

// Sends the bytes on the connection and tells what came back before the other end closed it,
// with "(open)" when it did not within kWaitMs.
std::string Ask(int socket, const std::string& bytes) {
    if (socket < 0)
        return "(no connection)";
    ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string received;
    pollfd wait{socket, POLLIN, 0};
    char buffer[256];
    int ready;
    for (ssize_t got; (ready = ::poll(&wait, 1, kWaitMs)) > 0 &&
                      (got = ::recv(socket, buffer, sizeof buffer, 0)) > 0;)
        received.append(buffer, static_cast<std::size_t>(got));
    ::close(socket);
    return ready > 0 ? received : received + "(open)";
}

// Copies of the real program, started by a user of their own whose settings point to a deck.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        fs::create_directories(RuntimeFolder());
        fs::permissions(RuntimeFolder(), fs::perms::owner_all);
        for (const auto& [name, value] : {std::pair{"HOME", dir.File("home/")},
                                          {"XDG_CONFIG_HOME", dir.File("config/")},
                                          {"XDG_DATA_HOME", dir.File("data/")},
                                          {"XDG_RUNTIME_DIR", RuntimeFolder()},
                                          {"TMPDIR", dir.Path()},
                                          {"QT_QPA_PLATFORM", std::string("offscreen")}})
            environment.insert(name, QString::fromStdString(value));
        WriteFileBytes(Deck(), deckBytes);
        Store({{kFile1, Deck()}});
    }

    std::string Deck() const { return dir.File("deck.qld"); }
    std::string RuntimeFolder() const { return dir.File("runtime/"); }
    std::string Socket() const { return RuntimeFolder() + "quillow.socket"; }
    std::string SettingsFile() const { return dir.File("config/Brightfen/Quillow.conf"); }

    std::string Stored(const char* key) const {
        const QSettings file(QString::fromStdString(SettingsFile()), QSettings::IniFormat);
        return file.value(key).toByteArray().toStdString();
    }
    void Store(const std::vector<std::pair<const char*, std::string>>& entries) const {
        QSettings file(QString::fromStdString(SettingsFile()), QSettings::IniFormat);
        file.clear();
        for (const auto& [key, value] : entries)
            file.setValue(key, QString::fromStdString(value));
    }

    // childSetup runs in the new process before the program.
    QProcess& Start(const std::string& program = QUILLOW_EXECUTABLE,
                    const std::function<void()>& childSetup = {}) {
        auto& process = *copies.emplace_back(std::make_unique<QProcess>());
        process.setChildProcessModifier(childSetup ? childSetup : [] {});
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QString::fromStdString(program), {});
        EXPECT_TRUE(process.waitForStarted(kWaitMs));
        return process;
    }
    // A copy stores its caption once its window is up.
    bool WaitForStoredTitle(const std::string& caption = "Quillow V2.0 - deck.qld") const {
        return QTest::qWaitFor([&] { return Stored(kTitle) == caption; }, kWaitMs);
    }
    // The program in a folder of its own, which holds its default data file.
    std::string CopyOfTheProgram(const std::string& name = "progr\xE0m/") const {
        const std::string folder = dir.File(name);
        fs::create_directories(folder);
        const fs::path built = QUILLOW_EXECUTABLE;
        for (const char* beside : {"quillow", "backimg.bmp", "Quillow.wav", "manual.txt"})
            fs::copy_file(built.parent_path() / beside, folder + beside);
        return folder;
    }

    static void Signal(QProcess& process, int signal) {
        ::kill(static_cast<pid_t>(process.processId()), signal);
    }
    static bool HasEnded(QProcess& process, int waitMs) {
        return process.state() == QProcess::NotRunning || process.waitForFinished(waitMs);
    }
    static bool IsRunning(QProcess& process) { return !HasEnded(process, 100); }
    // Whether it ended by itself, with that status.
    static bool EndsWithStatus(QProcess& process, int status) {
        return HasEnded(process, kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == status;
    }

    TempDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const Bytes deckBytes = MakeDataFile({.cards = {{"Capital of France?", "Paris"}}});
    std::vector<std::unique_ptr<QProcess>> copies; // killed, if still running, at the end
};

// As a double click on a launcher starts two: one runs, the other hands its request over and
// ends. The session's end, Ctrl+C or kill end the copy that runs as its close box does.
TEST_F(ProgramTest, TwoStartsAtTheSameInstantRunOneCopy) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        QProcess& a = Start();
        QProcess& b = Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return HasEnded(a, 0) || HasEnded(b, 0); }, kWaitMs));
        const bool aEnded = HasEnded(a, 0);
        EXPECT_TRUE(EndsWithStatus(aEnded ? a : b, 0));
        QProcess& running = aEnded ? b : a;
        EXPECT_TRUE(IsRunning(running));
        Signal(running, signal);
        EXPECT_TRUE(EndsWithStatus(running, 0));
        copies.clear();
    }
}

// The lock, not the socket a killed copy leaves behind, says whether a copy runs. Idle and
// garbage connections, more than the usual limit of descriptors, are closed and keep no start
// from being answered; a later start reads no data file and writes no settings. A copy that
// does not answer keeps a start from running beside it.
TEST_F(ProgramTest, KilledIdleAndSilentCopies) {
    QProcess& killed = Start();
    ASSERT_TRUE(WaitForStoredTitle());
    Signal(killed, SIGKILL);
    ASSERT_TRUE(killed.waitForFinished(kWaitMs));
    ASSERT_TRUE(fs::is_socket(Socket()));
    Store({{kFile1, Deck()}});
    QProcess& running = Start(QUILLOW_EXECUTABLE, [] {
        const rlimit usual{1024, 1024};
        ::setrlimit(RLIMIT_NOFILE, &usual);
    });
    ASSERT_TRUE(WaitForStoredTitle());

    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
    ::setrlimit(RLIMIT_NOFILE, &files);
    std::vector<int> idle;
    for (int k = 0; k < 1100; ++k)
        idle.push_back(Connect(Socket()));
    EXPECT_EQ(std::count(idle.begin(), idle.end(), -1), 0);
    for (const std::string& garbage : std::initializer_list<std::string>{
             "hello\n", std::string(4096, 'x'), "quillow: bring forwardly\n",
             "quillow: bring forward\r\n"})
        EXPECT_EQ(Ask(Connect(Socket()), garbage), "") << garbage.substr(0, 30);
    const Bytes settings = ReadFileBytes(SettingsFile()), deck = ReadFileBytes(Deck());
    EXPECT_TRUE(EndsWithStatus(Start(), 0));
    EXPECT_EQ(ReadFileBytes(SettingsFile()), settings);
    EXPECT_EQ(ReadFileBytes(Deck()), deck);
    EXPECT_EQ(Ask(idle.back(), ""), "");
    idle.pop_back();
    for (const int socket : idle)
        ::close(socket);
    EXPECT_EQ(Ask(Connect(Socket()), "quillow: bring forward xdg-token_1.2\n"), "ok\n");

    Signal(running, SIGSTOP);
    EXPECT_TRUE(EndsWithStatus(Start(), 1));
    Signal(running, SIGCONT);
    EXPECT_TRUE(IsRunning(running));
}

// A start while the first copy shows its first message box (here: the stored file is no data
// file) hands its request over. The refused file ends that copy with status 1 once the box is
// gone, here on the session's end, and points the settings to the default file.
TEST_F(ProgramTest, RefusedFileIsNotOpenedAgain) {
    const std::string folder = CopyOfTheProgram(), program = dir.File("quillow");
    fs::create_symlink(folder + "quillow", program); // a folder name that is not UTF-8
    const Bytes notes{'n', 'o', 't', 'e', 's', '\n'};
    WriteFileBytes(dir.File("notes.qld"), notes);
    Store({{kFile1, dir.File("notes.qld")}});
    QProcess& first = Start(program);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::is_socket(Socket()); }, kWaitMs));
    EXPECT_TRUE(EndsWithStatus(Start(program), 0));
    EXPECT_TRUE(IsRunning(first));
    Signal(first, SIGTERM);
    EXPECT_TRUE(EndsWithStatus(first, 1));
    EXPECT_EQ(Stored(kFile1), folder + "Quillow.qld");
    EXPECT_EQ(ReadFileBytes(dir.File("notes.qld")), notes);
}

// Another user's socket is never spoken to, whichever end it is on. A socket has the
// credentials of the user who made it listen or connect.
TEST_F(ProgramTest, AnotherUsersSocketIsIgnored) {
    if (::getuid() != 0)
        GTEST_SKIP() << "only root can act as another user";
    // Another user listening at the socket while the lock is held: the start runs.
    const int lock = ::open((RuntimeFolder() + "quillow.lock").c_str(), O_RDWR | O_CREAT, 0600);
    const int stranger = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = Address(Socket());
    ASSERT_EQ(::bind(stranger, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const bool listening = ::seteuid(kOtherUser) == 0 && ::listen(stranger, 8) == 0;
    ASSERT_EQ(::seteuid(0), 0);
    ASSERT_TRUE(listening && ::flock(lock, LOCK_EX) == 0);
    Start();
    EXPECT_TRUE(WaitForStoredTitle());
    ::close(stranger);
    ::close(lock);
    EXPECT_TRUE(EndsWithStatus(Start(), 0));

    // Another user (still in this one's group) who can reach the running copy's socket is not
    // answered.
    for (fs::path folder = RuntimeFolder(); folder != folder.root_path();
         folder = folder.parent_path())
        fs::permissions(folder, fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add);
    fs::permissions(Socket(), fs::perms::all, fs::perm_options::add);
    const int asking = ::seteuid(kOtherUser) == 0 ? Connect(Socket()) : -1;
    ASSERT_EQ(::seteuid(0), 0);
    EXPECT_EQ(Ask(asking, kRequest), "") << "the other user was answered";
    EXPECT_EQ(Ask(Connect(Socket()), kRequest), "ok\n");

    // Without XDG_RUNTIME_DIR, a folder quillow-UID that another user has made first in the
    // temporary folder is not used, and two starts still run one copy.
    copies.clear();
    Store({{kFile1, Deck()}});
    environment.remove("XDG_RUNTIME_DIR");
    ASSERT_TRUE(fs::create_directory(dir.File("quillow-0")) &&
                fs::create_directory(dir.File("home")));
    ASSERT_EQ(::chown(dir.File("quillow-0").c_str(), kOtherUser, kOtherUser), 0);
    QProcess& first = Start();
    ASSERT_TRUE(WaitForStoredTitle());
    EXPECT_TRUE(EndsWithStatus(Start(), 0));
    EXPECT_TRUE(IsRunning(first));
}

// A user who may not write in the program's folder keeps the default file in the data folder.
TEST(DataFolderTest, TheProgramsFolderOnlyWhenWritable) {
    if (::getuid() != 0)
        GTEST_SKIP() << "only root can act as another user";
    ASSERT_EQ(::setresuid(kOtherUser, kOtherUser, 0), 0);
    const std::string own = DefaultDataFolder("/", "/d/"), open = DefaultDataFolder("/tmp/", "/d/");
    ASSERT_EQ(::setresuid(0, 0, 0), 0);
    EXPECT_EQ(own, "/d/Brightfen/Quillow/");
    EXPECT_EQ(open, "/tmp/");
}

// An installed copy (its folder holds the marker; here one whose name is not UTF-8, started
// through a link) makes its default file in the user's data folder from the starter deck beside
// it. A stored path longer than any the system takes is not used. Only the end, on the session's
// signal, stores the file's path and saves its header.
TEST_F(ProgramTest, InstalledCopyKeepsItsDataInTheUsersFolder) {
    const auto startedAt = static_cast<std::int32_t>(std::time(nullptr));
    const std::string folder = CopyOfTheProgram("caf\xE9/");
    WriteFileBytes(folder + "Quillow.qld", deckBytes);
    WriteFileBytes(folder + "installed", {});
    fs::create_symlink(folder + "quillow", dir.File("quillow"));
    // Not UTF-8, so kept as bytes, as the program keeps such a path.
    const QByteArray tooLong = "/caf\xE9" + QByteArray(5000, 'a');
    const auto storedBytes = [&] {
        return QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat)
            .value(kFile1)
            .toByteArray();
    };
    QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat)
        .setValue(kFile1, tooLong);
    QProcess& copy = Start(dir.File("quillow"));
    ASSERT_TRUE(WaitForStoredTitle("Quillow V2.0 - Quillow.qld"));
    EXPECT_EQ(storedBytes(), tooLong);
    Signal(copy, SIGTERM);
    EXPECT_TRUE(EndsWithStatus(copy, 0));
    const std::string data = dir.File("data/Brightfen/Quillow/Quillow.qld");
    EXPECT_EQ(Stored(kFile1), data);
    const Bytes deck = ReadFileBytes(data);
    ASSERT_EQ(deck.size(), deckBytes.size());
    EXPECT_GE(Int32At(deck, 28), startedAt) << "the header was not saved";
    EXPECT_TRUE(std::equal(deckBytes.begin() + 104, deckBytes.end(), deck.begin() + 104));
}

} // namespace
