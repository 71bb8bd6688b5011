#pragma once

#include <span>

// The program's string table: every user-visible text by its number.
struct StringEntry {
    unsigned id;
    const char* text;
};

std::span<const StringEntry> StringTable();
