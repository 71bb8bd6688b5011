#include "StoreBinding.h"

#include "Commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

void ToolHost::SetDataFilePath(const std::string&) {
    PrintError(m_path, "cannot open the file");
    ExitProgram(1);
}

std::string ToolHost::GetProgramFolder() const {
    const std::string folder = std::filesystem::path(m_path).parent_path().string();
    return folder.empty() ? "./" : folder + '/';
}

namespace {

// "Cannot write the QLD file\n\n/path" as one line: "Cannot write the QLD file: /path".
std::string OneLine(const std::string& text) {
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start)
            line += Concat(line.empty() ? "" : ": ", text.substr(start, end - start));
        start = end + 1;
    }
    return line;
}

} // namespace

StoreReporting::StoreReporting(std::string file) : m_file(std::move(file)) {
    m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
        PrintError(m_file, OneLine(request.text));
        return (request.type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    });
    m_previousExit = SetExitHandler([this](int) {
        if (!m_removeOnFailure.empty())
            std::remove(m_removeOnFailure.c_str());
        if (!m_note.empty())
            PrintError(m_file, m_note);
        std::fflush(stdout);
        std::exit(1);
    });
}

StoreReporting::~StoreReporting() {
    SetMessageBoxHandler(std::move(m_previousBox));
    SetExitHandler(std::move(m_previousExit));
}
