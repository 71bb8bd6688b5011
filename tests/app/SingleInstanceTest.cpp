#include "SingleInstance.h"

#include <gtest/gtest.h>

#include <stdlib.h>

namespace {

// The launcher's token travels in the request when it is one; the running copy reads it back.
TEST(SingleInstanceTest, RequestCarriesTheLaunchersToken) {
    const std::string longest(256, 'x');
    const std::string tooLong = longest + "x";
    struct Case {
        const char* xdgActivationToken;
        const char* desktopStartupId;
        std::string request;
    } cases[] = {
        {nullptr, nullptr, "quillow: bring forward\n"},
        {"wayland-1_2", "x11-id", "quillow: bring forward wayland-1_2\n"},
        {nullptr, "x11/id_TIME123", "quillow: bring forward x11/id_TIME123\n"},
        {"", "x11-id", "quillow: bring forward x11-id\n"},
        {longest.c_str(), nullptr, "quillow: bring forward " + longest + "\n"},
        {tooLong.c_str(), "x11-id", "quillow: bring forward\n"},
        {"two words", nullptr, "quillow: bring forward\n"},
        {"caf\xC3\xA9", nullptr, "quillow: bring forward\n"},
    };
    for (const auto& c : cases) {
        for (const auto& [name, value] : {std::pair{"XDG_ACTIVATION_TOKEN", c.xdgActivationToken},
                                          std::pair{"DESKTOP_STARTUP_ID", c.desktopStartupId}})
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        const std::string request = BringForwardRequest(LauncherActivationToken());
        EXPECT_EQ(request, c.request);
        std::string token = "before";
        ASSERT_TRUE(ParseBringForwardRequest(request.substr(0, request.size() - 1), token));
        EXPECT_EQ(BringForwardRequest(token), request);
        EXPECT_LE(request.size(), LongestBringForwardRequest());
    }
    ::unsetenv("XDG_ACTIVATION_TOKEN");
    ::unsetenv("DESKTOP_STARTUP_ID");
}

} // namespace
