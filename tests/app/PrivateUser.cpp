#include "PrivateUser.h"

#include <filesystem>

#include <stdlib.h>

namespace fs = std::filesystem;

PrivateUser::PrivateUser(const std::string& root) : m_root(root), m_home(root + "home/") {
    fs::create_directories(ConfigFolder());
    fs::create_directories(TempFolder());
    fs::create_directories(RuntimeFolder());
    fs::permissions(RuntimeFolder(), fs::perms::owner_all);
}

void PrivateUser::Export() const {
    ::setenv("HOME", m_home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", ConfigFolder().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", RuntimeFolder().c_str(), 1);
    ::setenv("TMPDIR", TempFolder().c_str(), 1);
}

QProcessEnvironment PrivateUser::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(m_home));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(ConfigFolder()));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(RuntimeFolder()));
    environment.insert("TMPDIR", QString::fromStdString(TempFolder()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    return environment;
}
