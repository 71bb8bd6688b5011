#include "UserFolders.h"

#include <gtest/gtest.h>

#include <stdlib.h>

TEST(UserFoldersTest, XdgVariablesOrTheFoldersInTheHomeFolder) {
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_DATA_HOME", "/data", 1);
    ::setenv("XDG_CONFIG_HOME", "/settings/", 1);
    EXPECT_EQ(UserDataHome(), "/data/");
    EXPECT_EQ(UserConfigHome(), "/settings/");

    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(UserDataHome(), "/home/someone/.local/share/");
    EXPECT_EQ(UserConfigHome(), "/home/someone/.config/");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserConfigHome(), "/home/someone/.config/");
}
