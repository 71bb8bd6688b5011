// qld autostart: the XDG autostart entry that starts Quillow with the desktop session.

#include "Commands.h"
#include "DesktopEntry.h"
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

int SwitchOn(const fs::path& file) {
    // The program beside this tool's real file, links resolved: the installed or the built one.
    std::error_code error;
    const fs::path program = fs::canonical("/proc/self/exe", error).parent_path() / "quillow";
    if (error || !fs::is_regular_file(program, error)) {
        PrintError(program.string(), "no Quillow program beside qld");
        return 1;
    }
    const std::string entry = FillDesktopEntry(kAutostartTemplate, program.string(), false);
    if (entry.empty()) {
        PrintError(program.string(), "a path with control characters cannot be started");
        return 1;
    }
    fs::create_directories(file.parent_path(), error);
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
