#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// The text of a string-table entry, or an empty text when there is none.
std::string LoadString(unsigned id);

// One argument of a printf-style format: a number or a text.
struct FormatArg {
    FormatArg(std::int64_t n) : value(n) {}
    FormatArg(int n) : value(std::int64_t{n}) {}
    FormatArg(unsigned n) : value(std::int64_t{n}) {}
    FormatArg(std::string s) : value(std::move(s)) {}
    FormatArg(const char* s) : value(std::string(s)) {}
    std::variant<std::int64_t, std::string> value;
};

// printf style: %d, %u and %s take the arguments in turn, with an optional width (%3d); %% is
// a percent sign. A missing argument formats as nothing.
std::string FormatPrintf(std::string_view format, std::initializer_list<FormatArg> args);

// Positional style: %1 to %9 stand for the arguments by number.
std::string FormatPositional(std::string_view format, std::initializer_list<std::string> args);

template <class... Args> std::string FormatString(unsigned id, Args&&... args) {
    return FormatPrintf(LoadString(id), {FormatArg(std::forward<Args>(args))...});
}
