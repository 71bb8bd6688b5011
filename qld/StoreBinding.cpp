#include "StoreBinding.h"

#include "Commands.h"

#include <algorithm>
#include <filesystem>

namespace {

// "Cannot write the QLD file\n\n/path" as one line: "Cannot write the QLD file: /path".
std::string OneLine(const std::string& text) {
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            // "file:" then the path reads "file: path".
            if (line.ends_with(':'))
                line.pop_back();
            line += Concat(line.empty() ? "" : ": ", text.substr(start, end - start));
        }
        start = end + 1;
    }
    return line;
}

} // namespace

std::string ToolHost::GetProgramFolder() const {
    const std::string folder = std::filesystem::path(m_path).parent_path().string();
    return folder.empty() ? "./" : folder + '/';
}

void ToolHost::Notify(const std::string& message) {
    PrintError(m_path, OneLine(message));
}

bool Succeeded(const std::string& file, const StoreStatus& status) {
    if (status.Failed())
        PrintError(file, OneLine(status.message));
    return !status.Failed();
}
