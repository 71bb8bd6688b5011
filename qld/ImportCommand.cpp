#include "Commands.h"
#include "DeckFile.h"
#include "DelimitedText.h"
#include "QuestionFile.h"
#include "StoreBinding.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::size_t kLongestText = kTextSize - 1;

char SeparatorOption(const CommandLine& line) {
    const auto found = line.options.find("--sep");
    if (found == line.options.end())
        return 0;
    const std::string& value = found->second;
    if (value == "tab" || value == "\\t")
        return '\t';
    if (value == "comma")
        return ',';
    if (value == "semicolon")
        return ';';
    if (value.size() == 1 && value != "\"" && value != "\n" && value != "\r")
        return value[0];
    throw UsageError(
        Concat("--sep takes tab, comma, semicolon or one character, not '", value, "'"));
}

bool ReadInput(const std::string& source, std::string& text, std::string& error) {
    std::FILE* in = source == "-" ? stdin : std::fopen(source.c_str(), "rb");
    if (!in) {
        error = OpenFailure(source);
        return false;
    }
    char buffer[64 * 1024];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        text.append(buffer, got);
    const int code = errno;
    const bool failed = std::ferror(in);
    if (in != stdin)
        std::fclose(in);
    if (failed)
        error = Concat("cannot read: ", std::strerror(code));
    return !failed;
}

// The records that an existing deck holds, or -1 after saying why it cannot take cards. A deck
// that Quillow has open is Quillow's to write: the store's Load takes the same lock.
int RecordsIn(const std::string& deck) {
    CFile writable;
    DeckFile file;
    std::string error;
    bool inUse = false;
    if (!writable.Open(deck, CFile::modeReadWrite | CFile::shareExclusive, &inUse)) {
        PrintError(deck, inUse ? "the file is open in Quillow (or in another qld): close it there "
                                 "first; nothing was written"
                               : OpenFailure(deck));
        return -1;
    }
    if (!file.Open(deck, error) || !(error = file.Refusal()).empty()) {
        PrintError(deck, error);
        return -1;
    }
    return file.Header().recordCount;
}

// Makes an empty file at the deck's path unless a file is there: the one test of whether the deck
// is new, so that two imports that start a new deck at once never both take it for new.
bool ClaimNewDeck(const std::string& deck) {
    CFile claim;
    return claim.Open(deck, CFile::modeCreateNew | CFile::modeReadWrite) || errno != EEXIST;
}

// Writes the cards through the store, as the question editor's New and Return would.
void AppendCards(const std::string& deck, bool exists, const std::vector<TextRow>& cards) {
    ToolHost host(deck);
    StoreReporting reporting(deck);
    CQuestionFile file(host);
    if (exists)
        file.Load();
    else
        file.CreateNew();
    // New records start with an empty ring of answer times.
    file.workRecord = QuestionRecord{};
    for (std::size_t i = 0; i < cards.size(); ++i) {
        reporting.SetNote(Concat("stopped after ", std::to_string(i), " of ",
                                 Counted(static_cast<long long>(cards.size()), "card")));
        const auto& fields = cards[i].fields;
        file.AppendRecord();
        file.UpdateTexts(file.header.recordCount - 1, fields[0],
                         fields.size() > 1 ? fields[1] : std::string());
    }
    file.SaveAndClose();
}

} // namespace

int RunImport(const CommandLine& line) {
    const std::string& deck = line.operands[0];
    const std::string source = line.operands.size() > 1 ? line.operands[1] : "-";
    const std::string sourceName = source == "-" ? "standard input" : source;
    const ReadOptions options{SeparatorOption(line), line.Has("--header")};
    const bool dryRun = line.Has("--dry-run");

    std::string text, error;
    if (!ReadInput(source, text, error)) {
        PrintError(sourceName, error);
        return 1;
    }
    ReadResult read = ReadRows(text, options);
    if (!read.error.empty()) {
        PrintError(sourceName, read.error);
        return 1;
    }
    std::error_code ignored;
    const bool exists = dryRun ? std::filesystem::exists(deck, ignored) : !ClaimNewDeck(deck);
    const int before = exists ? RecordsIn(deck) : 0;
    if (before < 0)
        return 1;

    std::vector<TextRow>& cards = read.rows;
    const std::size_t room = static_cast<std::size_t>(kMaxQuestions - before);
    if (cards.size() > room) {
        PrintError(sourceName, Concat(Counted(static_cast<long long>(cards.size() - room), "card"),
                                      " from line ", std::to_string(cards[room].line),
                                      " on left out: a data file holds at most ",
                                      std::to_string(kMaxQuestions), " questions"));
        cards.resize(room);
    }
    for (const TextRow& card : cards) {
        const bool question = card.fields[0].size() > kLongestText;
        const bool answer = card.fields.size() > 1 && card.fields[1].size() > kLongestText;
        if (question || answer)
            PrintError(sourceName, Concat("line ", std::to_string(card.line), ": ",
                                          question && answer ? "question and answer"
                                          : question         ? "question"
                                                             : "answer",
                                          " cut at ", std::to_string(kLongestText), " bytes"));
    }

    if (!dryRun && !(exists && cards.empty()))
        AppendCards(deck, exists, cards);
    std::printf("%s: %s %s%s, %s%s\n", deck.c_str(),
                Counted(static_cast<long long>(cards.size()), "card").c_str(),
                dryRun ? "would be added" : "added", exists ? "" : " to a new file",
                Counted(before + static_cast<long long>(cards.size()), "record").c_str(),
                dryRun ? " (nothing written)" : "");
    return 0;
}
