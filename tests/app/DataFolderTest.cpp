#include "DataFolder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kDataHome = "/home/someone/.local/share/";
const std::string kUserFolder = kDataHome + "Brightfen/Quillow/";

TEST(DataFolderTest, BuiltProgramKeepsTheDefaultFileBesideItself) {
    TempDir program;
    EXPECT_EQ(DefaultDataFolder(program.Path(), kDataHome), program.Path());
}

// Root may write anywhere: the marker is what tells an installed program.
TEST(DataFolderTest, InstalledProgramKeepsItInTheUsersDataFolder) {
    TempDir program;
    WriteFileBytes(program.File(kInstalledMarker), {});
    EXPECT_EQ(DefaultDataFolder(program.Path(), kDataHome), kUserFolder);
}

// Asked by a user who may not write in the folder: root asks as nobody, in a child process.
TEST(DataFolderTest, ReadOnlyProgramFolderKeepsItInTheUsersDataFolder) {
    TempDir dir;
    const std::string program = dir.File("program/");
    fs::create_directory(program);
    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.Path(), readable);
    fs::permissions(program, readable & ~fs::perms::owner_write);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(DefaultDataFolder(program, kDataHome) == kUserFolder ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

} // namespace
