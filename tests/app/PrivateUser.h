#pragma once

#include <QProcessEnvironment>

#include <string>

// A user of one's own: home, settings, runtime and temporary folders under a root folder, so
// that nothing reaches the real user's files or sockets.
class PrivateUser {
public:
    // The root ends in '/'; the folders are made under it.
    explicit PrivateUser(const std::string& root);

    const std::string& Home() const { return m_home; }
    std::string ConfigFolder() const { return m_home + ".config/"; }
    std::string RuntimeFolder() const { return m_root + "runtime/"; }
    std::string TempFolder() const { return m_root + "tmp/"; }
    // Where the program keeps its settings.
    std::string SettingsFile() const { return ConfigFolder() + "Brightfen/Quillow.conf"; }

    // Makes this process live in the folders; call before the application object exists.
    void Export() const;
    // This environment with the folders in place and no window system.
    QProcessEnvironment Environment() const;

private:
    std::string m_root;
    std::string m_home;
};
