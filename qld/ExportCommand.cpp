#include "Commands.h"
#include "DeckFile.h"
#include "DelimitedText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// A field's text as valid UTF-8: what Quillow shows, without any other byte that is not UTF-8.
// A field that had such bytes is named on the error stream.
std::string Mended(const std::string& deck, int slot, const char* name, const TextField& field) {
    std::string_view text = FieldText(field);
    std::string kept;
    for (std::size_t bad; (bad = FindBadByte(text)) != std::string_view::npos;
         text.remove_prefix(bad + 1))
        kept += text.substr(0, bad);
    kept += text;
    if (const std::size_t dropped = FieldBytes(field).size() - kept.size())
        PrintError(deck, Concat(QuestionName(slot), ": ",
                                Counted(static_cast<long long>(dropped), "byte"),
                                " that are not UTF-8 left out of the ", name));
    return kept;
}

} // namespace

int RunExport(const CommandLine& line) {
    const std::string& deck = line.operands[0];
    const std::string target = line.operands.size() > 1 ? line.operands[1] : "-";

    DeckFile file;
    std::string error;
    if (!file.Open(deck, error) || !(error = file.Refusal()).empty()) {
        PrintError(deck, error);
        return 1;
    }
    std::error_code ignored;
    if (target != "-" && std::filesystem::equivalent(target, deck, ignored)) {
        PrintError(target, "is the data file itself");
        return 1;
    }

    std::string text;
    for (int i = 0; i < file.Header().recordCount; ++i) {
        QuestionRecord record;
        if (!file.ReadRecord(i, record)) {
            PrintError(deck, Concat("cannot read record ", std::to_string(i)));
            return 1;
        }
        text += FormatRow(Mended(deck, i, "question", record.question),
                          Mended(deck, i, "answer", record.answer), '\t');
    }

    std::FILE* out = target == "-" ? stdout : std::fopen(target.c_str(), "wb");
    if (!out) {
        PrintError(target, OpenFailure(target));
        return 1;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    written = (out == stdout ? std::fflush(out) : std::fclose(out)) == 0 && written;
    if (!written) {
        PrintError(target == "-" ? "standard output" : target,
                   Concat("cannot write: ", std::strerror(errno)));
        return 1;
    }
    return 0;
}
