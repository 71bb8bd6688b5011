#include "Commands.h"
#include "DeckFile.h"
#include "DeckFormat.h"
#include "DelimitedText.h"
#include "QuestionFile.h"
#include "SplitDecks.h"
#include "StoreBinding.h"
#include "WholeCharacters.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

constexpr std::size_t kLongestText = kTextSize - 1;
// Far more than a deck of 1000 cards takes, with room for quoting, HTML and other columns.
constexpr std::size_t kLargestInput = 16 * 1024 * 1024;
// Skipped rows named one by one; the others are counted.
constexpr std::size_t kSkipsNamed = 10;

// The rows that make cards: at most a whole deck's worth is kept, the rest counted.
struct Cards {
    std::vector<TextRow> kept;
    std::size_t beyond = 0;
    int firstBeyond = 0;            // the line of the first card not kept
    std::vector<std::string> skips; // the first rows that make no card, by line
    std::size_t skipped = 0;
    std::string unit = "line";  // what the numbers of the rows count
    CardSpill* spill = nullptr; // with --split: the cards beyond a deck's worth

    void Take(TextRow&& row) {
        const bool blank = std::all_of(row.fields.begin(), row.fields.end(), [](const auto& f) {
            return f.find_first_not_of(" \t\r\n") == std::string::npos;
        });
        if (blank || row.fields.size() < 2) {
            if (skipped++ < kSkipsNamed)
                skips.push_back(Concat(unit, " ", std::to_string(row.line), ": ",
                                       blank ? "a blank row" : "one field, no answer",
                                       ": skipped"));
        } else if (kept.size() < static_cast<std::size_t>(kMaxQuestions)) {
            row.fields.resize(2);
            kept.push_back(std::move(row));
        } else if ((!spill || !spill->Put(row)) && beyond++ == 0) {
            firstBeyond = row.line;
        }
    }
};

// "; from HTML: 2 line breaks, 1 entity, 3 tags removed", or nothing when nothing changed.
std::string HtmlNote(const HtmlConversion& converted) {
    std::string note;
    const auto add = [&](int count, std::string_view noun) {
        if (count > 0)
            note += Concat(note.empty() ? "; from HTML: " : ", ", Counted(count, noun));
    };
    add(converted.lineBreaks, "line break");
    add(converted.entities, "entity");
    add(converted.tags, "tag");
    if (converted.tags > 0)
        note += " removed";
    return note;
}

char SeparatorOption(const CommandLine& line) {
    const auto found = line.options.find("--sep");
    if (found == line.options.end())
        return 0;
    const std::string& value = found->second;
    if (value == "\\t")
        return '\t';
    if (const char named = SeparatorNamed(value); named != 0 && named != '\n' && named != '\r')
        return named;
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
    bool tooLarge = false;
    while (!tooLarge && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        tooLarge = text.size() + got > kLargestInput;
        if (!tooLarge)
            text.append(buffer, got);
    }
    const int code = errno;
    const bool failed = std::ferror(in);
    if (in != stdin)
        std::fclose(in);
    if (failed)
        error = Concat("cannot read: ", std::strerror(code));
    else if (tooLarge)
        error = Concat("more than ", std::to_string(kLargestInput >> 20),
                       " MB, far more than a deck of ", std::to_string(kMaxQuestions),
                       " cards takes: split it");
    return !failed && !tooLarge;
}

constexpr unsigned kWriting = CFile::modeReadWrite | CFile::shareExclusive;

// The records that an existing deck holds, or -1 after saying why it cannot take cards.
int RecordsIn(const std::string& deck) {
    DeckFile file;
    std::string error;
    if (!file.Open(deck, error) || !(error = file.Refusal()).empty()) {
        PrintError(deck, error);
        return -1;
    }
    return file.Header().recordCount;
}

enum class DeckState { NEW, EXISTING, REFUSED };

// The deck, locked from here to its last write, so that no other import and no Quillow changes
// it between the count and the cards: made only where no file is. A deck that Quillow has open
// is Quillow's to write: the store's Load takes the same lock.
DeckState OpenDeck(CQuestionFile& file, const std::string& deck) {
    if (file.Open(deck, CFile::modeCreateNew | kWriting))
        return DeckState::NEW;
    bool inUse = false;
    if (errno == ENOENT)
        PrintError(deck, Concat("cannot create: ", std::strerror(errno)));
    else if (errno != EEXIST)
        PrintError(deck, OpenFailure(deck));
    else if (file.Open(deck, kWriting, &inUse))
        return DeckState::EXISTING;
    else
        PrintError(deck, inUse ? "the file is open in Quillow (or in another qld): close it there "
                                 "first; nothing was written"
                               : OpenFailure(deck));
    return DeckState::REFUSED;
}

// Writes the cards through the store, as the question editor's New and Return would; false after
// saying what failed and how far it got. A new deck that fails before its first card is removed.
bool AppendCards(CQuestionFile& file, const std::string& deck, bool exists,
                 const std::vector<TextRow>& cards) {
    if (!Succeeded(deck, exists ? file.LoadOpenFile() : file.StartNewFile())) {
        if (!exists)
            std::remove(deck.c_str());
        return false;
    }
    const auto added = [&](std::size_t count) {
        return Concat(std::to_string(count), " of ",
                      Counted(static_cast<long long>(cards.size()), "card"), " added");
    };
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const auto& fields = cards[i].fields;
        if (!Succeeded(deck, file.AppendRecordWithoutTimes())) {
            PrintError(deck, added(i));
            return false;
        }
        const int record = file.Header().recordCount;
        if (!Succeeded(deck, file.UpdateTexts(record - 1, fields[0],
                                              fields.size() > 1 ? fields[1] : std::string()))) {
            PrintError(deck,
                       Concat(added(i), "; record ", std::to_string(record), " was added empty"));
            return false;
        }
    }
    if (!Succeeded(deck, file.SaveAndClose())) {
        PrintError(deck, added(cards.size()));
        return false;
    }
    return true;
}

// The options that choose among a file's texts fit one kind of file each.
void CheckOptionsFit(const CommandLine& line, DeckKind kind, const std::string& sourceName) {
    const std::pair<const char*, DeckKind> fits[] = {{"--sep", DeckKind::Text},
                                                     {"--header", DeckKind::Text},
                                                     {"--fields", DeckKind::AnkiPackage},
                                                     {"--deck", DeckKind::AnkiPackage},
                                                     {"--columns", DeckKind::Kvtml}};
    for (const auto& [option, fit] : fits)
        if (line.Has(option) && kind != fit)
            throw UsageError(Concat(option, " does not apply to ", sourceName));
}

void ReportCuts(const std::string& sourceName, const std::string& unit,
                std::vector<TextRow>& cards) {
    for (TextRow& card : cards) {
        std::string cuts;
        for (std::size_t k = 0; k < std::min<std::size_t>(card.fields.size(), 2); ++k) {
            std::string& text = card.fields[k];
            const std::size_t kept = WholeCharactersWithin(text, kLongestText);
            if (kept < text.size())
                cuts += Concat(cuts.empty() ? "" : ", ", k == 0 ? "question" : "answer", " cut to ",
                               std::to_string(kept), " bytes");
            text.resize(kept);
        }
        if (!cuts.empty())
            PrintError(sourceName, Concat(unit, " ", std::to_string(card.line), ": ", cuts,
                                          ", each after a whole character: a text holds at most ",
                                          std::to_string(kLongestText), " bytes"));
    }
}

// How far the cards went: a deck refused still lets the tool say what was added before it; a
// failed write ends the tool at once.
enum class Written { ALL, REFUSED, FAILED };

// Writes the cards into a new deck at the first free name beside the deck, made and locked as it
// is taken, after saying why when it could not be made or written.
Written WriteNewDeck(const std::string& deck, int& next, std::string& name,
                     const std::vector<TextRow>& cards) {
    for (;;) {
        ToolHost host(name);
        CQuestionFile file(host);
        switch (OpenDeck(file, name)) {
        case DeckState::NEW:
            return AppendCards(file, name, false, cards) ? Written::ALL : Written::FAILED;
        case DeckState::REFUSED:
            return Written::REFUSED;
        case DeckState::EXISTING: // taken since it was found free
            name = NextFreeDeck(deck, next);
        }
    }
}

// With --split, the cards beyond the first deck fill new decks beside it, one after another;
// a line for each in `lines`.
Written SplitInto(const std::string& deck, const std::string& sourceName, Cards& read,
                  std::vector<TextRow> cards, bool dryRun, std::string& lines) {
    int next = 2;
    while (!cards.empty() || !read.spill->Empty()) {
        for (TextRow& row :
             read.spill->Take(static_cast<std::size_t>(kMaxQuestions) - cards.size()))
            cards.push_back(std::move(row));
        std::string name = NextFreeDeck(deck, next);
        ReportCuts(sourceName, read.unit, cards);
        if (const Written written = dryRun ? Written::ALL : WriteNewDeck(deck, next, name, cards);
            written != Written::ALL)
            return written;
        lines += Concat(name, ": ", Counted(static_cast<long long>(cards.size()), "card"),
                        dryRun ? " would be added" : " added", " to a new file\n");
        cards.clear();
    }
    return Written::ALL;
}

} // namespace

int RunImport(const CommandLine& line) {
    const std::string& deck = line.operands[0];
    const std::string source = line.operands.size() > 1 ? line.operands[1] : "-";
    const std::string sourceName = source == "-" ? "standard input" : source;
    const ReadOptions options{SeparatorOption(line), line.Has("--header")};
    const bool dryRun = line.Has("--dry-run");

    const DeckChoice choice{line.options.count("--fields") ? line.options.at("--fields") : "",
                            line.options.count("--deck") ? line.options.at("--deck") : "",
                            line.options.count("--columns") ? line.options.at("--columns") : ""};
    CardSpill spill;
    Cards read;
    if (line.Has("--split"))
        read.spill = &spill;
    const DeckKind kind = source == "-" ? DeckKind::Text : DetectDeckKind(source);
    read.unit = RowUnit(kind);
    CheckOptionsFit(line, kind, sourceName);
    ReadResult result;
    OtherDeckRead other;
    std::string text;
    if (kind != DeckKind::Text) {
        other = ReadOtherDeck(kind, source, choice, [&read](TextRow&& row, const std::string&) {
            read.Take(std::move(row));
        });
        result.error = other.error;
        result.converted = other.converted.html;
    } else if (!ReadInput(source, text, result.error)) {
        PrintError(sourceName, result.error);
        return 1;
    } else {
        result = ReadRows(text, options, [&read](TextRow&& row) { read.Take(std::move(row)); });
    }
    if (!result.error.empty()) {
        PrintError(sourceName, result.error);
        return 1;
    }
    for (const std::string& skip : read.skips)
        PrintError(sourceName, skip);
    if (read.skipped > read.skips.size())
        PrintError(
            sourceName,
            Concat(Counted(static_cast<long long>(read.skipped - read.skips.size()), "more row"),
                   " skipped"));
    ToolHost host(deck);
    CQuestionFile file(host);
    std::error_code unknown;
    const DeckState state = !dryRun                                  ? OpenDeck(file, deck)
                            : std::filesystem::exists(deck, unknown) ? DeckState::EXISTING
                            : unknown                                ? DeckState::REFUSED
                                                                     : DeckState::NEW;
    if (unknown)
        PrintError(deck, Concat("cannot open: ", unknown.message()));
    const bool exists = state == DeckState::EXISTING;
    const int before = exists ? RecordsIn(deck) : 0;
    if (state == DeckState::REFUSED || before < 0)
        return 1;

    std::vector<TextRow>& cards = read.kept;
    const std::size_t room = static_cast<std::size_t>(kMaxQuestions - before);
    std::vector<TextRow> beyondRoom;
    if (read.spill && (cards.size() > room || !spill.Empty())) {
        const auto firstBeyond =
            cards.begin() + static_cast<std::ptrdiff_t>(std::min(room, cards.size()));
        beyondRoom.assign(std::make_move_iterator(firstBeyond),
                          std::make_move_iterator(cards.end()));
        cards.erase(firstBeyond, cards.end());
    } else if (cards.size() + read.beyond > room) {
        const int firstLeftOut = room < cards.size() ? cards[room].line : read.firstBeyond;
        PrintError(
            sourceName,
            Concat(Counted(static_cast<long long>(cards.size() + read.beyond - room), "card"),
                   " from ", read.unit, " ", std::to_string(firstLeftOut),
                   " on left out: a data file holds at most ", std::to_string(kMaxQuestions),
                   " questions"));
        cards.resize(std::min(room, cards.size()));
    }
    ReportCuts(sourceName, read.unit, cards);

    if (!dryRun && !(exists && cards.empty()) && !AppendCards(file, deck, exists, cards))
        return 1;
    std::string more;
    const Written split =
        read.spill ? SplitInto(deck, sourceName, read, std::move(beyondRoom), dryRun, more)
                   : Written::ALL;
    if (split == Written::FAILED)
        return 1;
    std::printf("%s: %s %s%s, %s%s%s%s\n%s", deck.c_str(),
                Counted(static_cast<long long>(cards.size()), "card").c_str(),
                dryRun ? "would be added" : "added", exists ? "" : " to a new file",
                Counted(before + static_cast<long long>(cards.size()), "record").c_str(),
                HtmlNote(result.converted).c_str(), LeftOutNote(other).c_str(),
                dryRun ? " (nothing written)" : "", more.c_str());
    return split == Written::ALL ? 0 : 1;
}
