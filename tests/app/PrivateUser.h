#pragma once

#include <QProcessEnvironment>
#include <QSettings>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <stdlib.h>

// The program's settings as its settings file holds them: "Group/Key" -> value.
using SettingsEntries = std::map<std::string, std::string>;
inline constexpr const char* kFile1 = "Recent QLD File/File1";
inline constexpr const char* kTitle = "Recent QLD File/Title";

inline SettingsEntries ReadSettings(const std::string& path) {
    const QSettings file(QString::fromStdString(path), QSettings::IniFormat);
    SettingsEntries entries;
    for (const QString& key : file.allKeys())
        entries[key.toStdString()] = file.value(key).toByteArray().toStdString();
    return entries;
}

inline void WriteSettings(const std::string& path, const SettingsEntries& entries) {
    QSettings file(QString::fromStdString(path), QSettings::IniFormat);
    file.clear();
    for (const auto& [key, value] : entries)
        file.setValue(QString::fromStdString(key), QByteArray::fromStdString(value));
}

// A user of one's own: home, settings, runtime and temporary folders under a root folder (ending
// in '/'), so that nothing reaches the real user's files or sockets.
class PrivateUser {
public:
    explicit PrivateUser(const std::string& root) : m_root(root) {
        for (const std::string& folder : {ConfigFolder(), TempFolder(), RuntimeFolder()})
            std::filesystem::create_directories(folder);
        std::filesystem::permissions(RuntimeFolder(), std::filesystem::perms::owner_all);
    }

    std::string ConfigFolder() const { return m_root + "home/.config/"; }
    std::string RuntimeFolder() const { return m_root + "runtime/"; }
    std::string TempFolder() const { return m_root + "tmp/"; }
    std::string SettingsFile() const { return ConfigFolder() + "Brightfen/Quillow.conf"; }

    // Makes this process live in the folders; call before the application object exists.
    void Export() const {
        for (const auto& [name, value] : Variables())
            ::setenv(name, value.c_str(), 1);
    }
    // This process's environment with the folders in place and no window system.
    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : Variables())
            environment.insert(name, QString::fromStdString(value));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        return environment;
    }

private:
    std::vector<std::pair<const char*, std::string>> Variables() const {
        return {{"HOME", m_root + "home/"},
                {"XDG_CONFIG_HOME", ConfigFolder()},
                {"XDG_RUNTIME_DIR", RuntimeFolder()},
                {"TMPDIR", TempFolder()}};
    }

    std::string m_root;
};
