// qld autostart: the XDG autostart entry that starts Quillow with the desktop session.

#include "Commands.h"
#include "UserFolders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path AutostartFile() {
    return fs::path(UserConfigHome()) / "autostart" / "quillow.desktop";
}

// The session would skip an entry that is hidden or switched off.
bool IsOn(const fs::path& file) {
    std::ifstream in(file);
    if (!in)
        return false;
    for (std::string line; std::getline(in, line);)
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    return true;
}

int Report(const fs::path& file) {
    if (IsOn(file))
        std::printf("autostart is on: %s\n", file.c_str());
    else
        std::puts("autostart is off");
    return 0;
}

// The path as the one word of an Exec key: in double quotes when it holds a character that the
// key reserves, with '%' doubled, and then with the backslashes of the key's string escapes.
std::string ExecWord(const std::string& path) {
    const bool quoted = path.find_first_of(" \"'\\><~|&;$*?#()`") != std::string::npos;
    std::string word = quoted ? "\"" : "";
    for (const char c : path) {
        if (c == '%')
            word += '%';
        else if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\'))
            word += '\\';
        word += c;
    }
    if (quoted)
        word += '"';
    std::string value;
    for (const char c : word)
        value += c == '\\' ? "\\\\" : std::string(1, c);
    return value;
}

bool HasControlCharacter(const std::string& text) {
    for (const unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

int SwitchOn(const fs::path& file) {
    // The program beside this tool's real file, links resolved: the installed or the built one.
    std::error_code error;
    const fs::path program = fs::canonical("/proc/self/exe", error).parent_path() / "quillow";
    if (error || !fs::is_regular_file(program, error)) {
        PrintError(program.string(), "no Quillow program beside qld");
        return 1;
    }
    if (HasControlCharacter(program.string())) {
        PrintError(program.string(), "a path with control characters cannot be started");
        return 1;
    }
    fs::create_directories(file.parent_path(), error);
    const std::string entry = Concat("[Desktop Entry]\n"
                                     "Type=Application\n"
                                     "Name=Quillow\n"
                                     "Comment=Flash-card drill, started with the session\n"
                                     "Exec=",
                                     ExecWord(program.string()),
                                     "\n"
                                     "Icon=" QUILLOW_APP_ID "\n"
                                     "Terminal=false\n"
                                     "StartupNotify=true\n");
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out) {
        PrintError(file.string(), std::strerror(errno));
        return 1;
    }
    const bool written = std::fputs(entry.c_str(), out) >= 0;
    if (std::fclose(out) != 0 || !written) {
        PrintError(file.string(), std::strerror(errno));
        return 1;
    }
    return 0;
}

int SwitchOff(const fs::path& file) {
    std::error_code error;
    fs::remove(file, error);
    if (error) {
        PrintError(file.string(), error.message());
        return 1;
    }
    return 0;
}

} // namespace

int RunAutostart(const CommandLine& line) {
    const fs::path file = AutostartFile();
    if (!line.operands.empty()) {
        const std::string& choice = line.operands[0];
        if (choice != "on" && choice != "off")
            throw UsageError(Concat("say on or off, not '", choice, "'"));
        if (const int status = choice == "on" ? SwitchOn(file) : SwitchOff(file))
            return status;
    }
    return Report(file);
}
