// The two helpers that the qld tool defines beside its main(), which a fuzz target cannot link.

#include "Commands.h"

#include <cstdio>

void PrintError(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "qld: %s: %s\n", file.c_str(), reason.c_str());
}

std::string Counted(long long count, std::string_view noun) {
    return Concat(std::to_string(count), " ", noun, count == 1 ? "" : "s");
}
