// Run at install time: the menu's desktop entry with the full path of the installed program.
//
//   write_desktop_entry TEMPLATE ENTRY PROGRAM

#include "DesktopEntry.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::string entry =
        FillDesktopEntry(std::string(std::istreambuf_iterator<char>(in), {}), argv[3], true);
    if (!in || entry.empty()) {
        std::fprintf(stderr, "A desktop entry cannot start %s\n", argv[3]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    return out << entry << std::flush ? 0 : 1;
}
