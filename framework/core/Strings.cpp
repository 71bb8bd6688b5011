#include "Strings.h"

#include "StringTable.h"

#include <vector>

std::string LoadString(unsigned id) {
    for (const auto& entry : StringTable())
        if (entry.id == id)
            return entry.text;
    return {};
}

namespace {

std::string ArgText(const FormatArg& arg, char conversion) {
    if (const auto* text = std::get_if<std::string>(&arg.value))
        return *text;
    auto n = std::get<std::int64_t>(arg.value);
    if (conversion == 'u')
        return std::to_string(static_cast<std::uint32_t>(n));
    return std::to_string(n);
}

} // namespace

std::string FormatPrintf(std::string_view format, std::initializer_list<FormatArg> args) {
    std::vector<FormatArg> list(args);
    std::size_t next = 0;
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        std::size_t j = i + 1;
        if (format[j] == '%') {
            out += '%';
            i = j;
            continue;
        }
        std::size_t width = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9')
            width = width * 10 + static_cast<std::size_t>(format[j++] - '0');
        if (j == format.size() || (format[j] != 'd' && format[j] != 'u' && format[j] != 's')) {
            out.append(format.substr(i, j - i));
            i = j - 1;
            continue;
        }
        std::string text = next < list.size() ? ArgText(list[next++], format[j]) : std::string();
        if (text.size() < width)
            out.append(width - text.size(), ' ');
        out += text;
        i = j;
    }
    return out;
}

std::string FormatPositional(std::string_view format, std::initializer_list<std::string> args) {
    std::vector<std::string> list(args);
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '%' && i + 1 < format.size() && format[i + 1] >= '1' && format[i + 1] <= '9') {
            auto index = static_cast<std::size_t>(format[i + 1] - '1');
            if (index < list.size())
                out += list[index];
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
