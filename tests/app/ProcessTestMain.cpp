// The main of the tests that run the program itself: this process, like each copy it starts,
// lives in a private home.
#include "PrivateUser.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TempDir root;
    PrivateUser user(root.Path());
    user.Export();
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
