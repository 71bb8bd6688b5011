// Any bytes as a deck of another program, for the reader that FUZZ_DECK_KIND names (one target
// each). The reader refuses them with a reason or hands on rows of a question and at most one
// answer, each UTF-8 text without NULs: never a crash, a sanitizer report or a leak, and no
// temporary file left behind.

#include "Commands.h"
#include "DeckFormat.h"
#include "TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

// The helper that the qld tool defines beside its main().
std::string Counted(long long count, std::string_view noun) {
    return Concat(std::to_string(count), " ", noun, count == 1 ? "" : "s");
}

static void Require(bool holds, const char* what) {
    if (!holds && std::fprintf(stderr, "fuzz_deck_reader: %s\n", what))
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempDir folder;
    // The readers' temporary copies go to a folder of this run's own.
    static const std::string temporary = [] {
        const std::string path = folder.File("tmp");
        std::filesystem::create_directory(path);
        ::setenv("TMPDIR", path.c_str(), 1);
        return path;
    }();
    const std::string path = folder.File("deck");
    WriteFileBytes(path, Bytes(data, data + size));
    const OtherDeckRead read =
        ReadOtherDeck(DeckKind::FUZZ_DECK_KIND, path, {}, [](TextRow&& row, const std::string&) {
            Require(row.fields.size() <= 2, "a third field");
            Require(row.line > 0, "a row without a number");
            for (const std::string& field : row.fields)
                Require(FindBadByte(field) == std::string::npos, "a field that is not UTF-8 text");
        });
    Require(read.error.find('\0') == std::string::npos, "a NUL in the reason");
    Require(std::filesystem::is_empty(temporary), "a temporary copy left behind");
    return 0;
}
