#pragma once

#include <concepts>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A command's words after its name: the operands, and the options with their values.
struct CommandLine {
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;

    bool Has(const std::string& option) const { return options.count(option) > 0; }
};

// Wrong use of a command: the tool says why and ends with status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "qld: FILE: reason" on the error stream.
void PrintError(const std::string& file, const std::string& reason);

// A part of a text: a text or one character. A number is not: `text += 65` would append an 'A'.
template <class Part>
concept TextPart = std::convertible_to<const Part&, std::string_view> || std::same_as<Part, char>;

// The parts of a text one after another; a caller spells a number with std::to_string first.
template <TextPart... Parts> std::string Concat(const Parts&... parts) {
    std::string text;
    ((text += parts), ...);
    return text;
}

// "1 card", "2 cards".
std::string Counted(long long count, std::string_view noun);

// Each returns the exit status: 0 done, 1 failed.
int RunImport(const CommandLine& line);
int RunExport(const CommandLine& line);
int RunInfo(const CommandLine& line);
int RunCheck(const CommandLine& line);
int RunAutostart(const CommandLine& line);
