#include "DataFolder.h"
#include "DisplayColors.h"
#include "SingleInstance.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Up to 8 bits a display has 2^depth colours; deeper ones, and depths no screen reports, count
// as more than 256.
TEST(AppUnitTest, ColourCountFollowsTheDepth) {
    for (const auto& [depth, colours] :
         {std::pair{1, 2}, {4, 16}, {8, 256}, {9, 257}, {16, 257}, {32, 257}, {0, 257}, {-1, 257}})
        EXPECT_EQ(DisplayColorsForDepth(depth), colours) << depth;
}

// A built program keeps the default file beside itself; one installed (the marker tells it, as
// root may write anywhere) or in a folder its user may not write keeps it in the user's data
// folder. The user who may not write asks in a child process, as nobody when run by root.
TEST(AppUnitTest, DefaultDataFolderIsTheProgramsUnlessInstalledOrReadOnly) {
    const std::string dataHome = "/home/someone/.local/share/";
    const std::string userFolder = dataHome + "Brightfen/Quillow/";
    TempDir dir;
    const std::string program = dir.File("program/");
    fs::create_directory(program);
    EXPECT_EQ(DefaultDataFolder(program, dataHome), program);

    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.Path(), readable);
    fs::permissions(program, readable & ~fs::perms::owner_write);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(DefaultDataFolder(program, dataHome) == userFolder ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);
    WriteFileBytes(program + kInstalledMarker, {});
    EXPECT_EQ(DefaultDataFolder(program, dataHome), userFolder);
}

// The launcher's token travels in the request when it is one; the running copy reads it back.
TEST(AppUnitTest, RequestCarriesTheLaunchersToken) {
    const std::string longest(256, 'x');
    const std::string tooLong = longest + "x";
    const struct {
        const char *xdgActivationToken, *desktopStartupId;
        std::string token;
    } cases[] = {{nullptr, nullptr, ""},
                 {"wayland-1_2", "x11-id", "wayland-1_2"},
                 {nullptr, "x11/id_TIME123", "x11/id_TIME123"},
                 {"", "x11-id", "x11-id"},
                 {longest.c_str(), nullptr, longest},
                 {tooLong.c_str(), "x11-id", ""},
                 {"two words", nullptr, ""},
                 {"caf\xC3\xA9", nullptr, ""}};
    for (const auto& c : cases) {
        for (const auto& [name, value] : {std::pair{"XDG_ACTIVATION_TOKEN", c.xdgActivationToken},
                                          std::pair{"DESKTOP_STARTUP_ID", c.desktopStartupId}})
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        const std::string request = BringForwardRequest(LauncherActivationToken());
        EXPECT_EQ(request,
                  "quillow: bring forward" + (c.token.empty() ? "" : " " + c.token) + "\n");
        std::string token = "before";
        ASSERT_TRUE(ParseBringForwardRequest(request.substr(0, request.size() - 1), token));
        EXPECT_EQ(token, c.token);
        EXPECT_LE(request.size(), LongestBringForwardRequest());
    }
    ::unsetenv("XDG_ACTIVATION_TOKEN");
    ::unsetenv("DESKTOP_STARTUP_ID");
}

} // namespace
