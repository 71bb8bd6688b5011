#include "SettingsFile.h"

#include <QByteArray>
#include <QUrl>

#include <filesystem>
#include <fstream>

SettingsEntries ReadSettingsFile(const std::string& path) {
    SettingsEntries entries;
    std::ifstream in(path);
    std::string line;
    std::string group;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const QByteArray encoded = QByteArray::fromStdString(line.substr(1, line.size() - 2));
            group = QUrl::fromPercentEncoding(encoded).toStdString();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && line.front() != ';')
            entries[group + "/" + line.substr(0, equals)] = line.substr(equals + 1);
    }
    return entries;
}

void WriteSettingsFile(const std::string& path, const SettingsEntries& entries,
                       const std::string& leadingLines) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::map<std::string, std::map<std::string, std::string>> groups;
    for (const auto& [name, value] : entries) {
        const std::size_t slash = name.find('/');
        groups[name.substr(0, slash)][name.substr(slash + 1)] = value;
    }
    std::ofstream out(path, std::ios::trunc);
    out << leadingLines;
    for (const auto& [group, keys] : groups) {
        out << '[' << QUrl::toPercentEncoding(QString::fromStdString(group)).toStdString() << "]\n";
        for (const auto& [key, value] : keys)
            out << key << '=' << value << '\n';
    }
}
