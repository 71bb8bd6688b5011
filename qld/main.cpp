// qld: reads and writes Quillow data files from the command line.

#include "Commands.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>

namespace {

struct Command {
    std::string_view name;
    int (*run)(const CommandLine&);
    std::size_t minOperands, maxOperands;
    std::vector<std::string_view> flags;        // options without a value
    std::vector<std::string_view> valueOptions; // options with one
    std::string_view help;
};

constexpr std::string_view kOverview = R"(Usage: qld COMMAND [ARGUMENTS]
Reads and writes Quillow data files, and starts Quillow with the desktop session.

Commands:
  import DECK.qld [FILE|-]  append the cards of a tab- or comma-separated file, or of a
                            deck of Anki, Mnemosyne, KWordQuiz or Parley
  export DECK.qld [FILE|-]  write every record as question TAB answer
  info DECK.qld             the header in words and the correct answers per question;
                            of an Anki package, its decks
  check DECK.qld            validate a file without changing it
  autostart [on|off]        start Quillow with the desktop session, or not

'qld COMMAND --help' tells more. Exit status: 0 done, 1 failed, 2 wrong usage.
)";

constexpr std::string_view kImportHelp =
    R"(Usage: qld import [--sep SEP] [--header] [--dry-run] [--split] [--fields N,M] [--deck NAME]
                  [--columns N,M] DECK.qld [FILE|-]
Appends the cards of FILE, or of standard input, to DECK.qld as new records: the first field of
each row is the question, the second the answer, further fields are left out. Creates DECK.qld
with the defaults of a new file when it does not exist.

FILE is UTF-8 text, with or without a byte-order mark, with LF, CRLF or CR line ends, of at most
16 MB; a field in double quotes may hold the separator, quotes (doubled) and line breaks. The
header lines of other flash-card programs' exports are read: "#separator:", "#html:true" (the
fields are HTML: line breaks, entities and tags become plain text, counted in the summary) and
"#guid column:", "#notetype column:", "#deck column:", "#tags column:" (those columns hold no
card text); the others are skipped. Blank rows and rows of one field make no card: they are
skipped. A data file holds at most 1000 records: the cards beyond are left out. A text longer
than 499 bytes is cut on a character boundary. All of these are reported by line.

  --sep SEP   tab, comma, semicolon or one character; by default the one that a
              "#separator:" line names, or that the first line uses (when commas and
              semicolons split it alike, --sep must say which)
  --header    the first row names the columns: skip it
  --dry-run   report what would be done and write nothing
  --split     put the cards beyond the 1000 of DECK.qld into new files beside it,
              DECK-2.qld, DECK-3.qld, ... (names that are free)

FILE may also be, told by its content, a deck of another program:
- an Anki package (.apkg, .colpkg; collection.anki2, .anki21 or .anki21b): a note gives a
  card from its first two fields, a cloze note one card per deletion, shown as [...] or its
  hint, with the hidden text as the answer. Fields are HTML; sounds and images are left out
  and counted.
- a Mnemosyne 2 card package (.cards): front and back, or word and meaning.
- a KVTML file (KWordQuiz, Parley; versions 1 and 2): the first two languages.

  --fields N,M    Anki: the fields of question and answer, by number or name
  --deck NAME     Anki: the notes of that deck and the decks below it ('qld info' lists them)
  --columns N,M   KVTML: the languages of question and answer, by number or name
)";

constexpr std::string_view kExportHelp = R"(Usage: qld export DECK.qld [FILE|-]
Writes every record of DECK.qld to FILE, or to standard output, as question TAB answer, one
record per line; a field with a tab, a quote or a line break is quoted. Importing the result into
a new file gives the same texts.
)";

constexpr std::string_view kInfoHelp = R"(Usage: qld info DECK.qld
Shows the header of DECK.qld in words and how many questions have each count of correct answers.
Of a deck of another program (see 'qld import --help'), lists its decks with the number of cards
that each gives.
)";

constexpr std::string_view kCheckHelp = R"(Usage: qld check DECK.qld
Validates DECK.qld without changing it: the header's fields, the file's length, each record's
number and texts. Exits 0, or 1 with one line per problem.
)";

constexpr std::string_view kAutostartHelp = R"(Usage: qld autostart [on|off]
Sets Quillow to start with the desktop session, or not. "on" writes the XDG autostart entry
$XDG_CONFIG_HOME/autostart/quillow.desktop (by default in ~/.config), which
starts the Quillow program in the folder of this qld, links resolved; "off" removes it. Without
an argument, tells whether it is on.
)";

const std::vector<Command> kCommands = {
    {"import",
     RunImport,
     1,
     2,
     {"--header", "--dry-run", "--split"},
     {"--sep", "--fields", "--deck", "--columns"},
     kImportHelp},
    {"export", RunExport, 1, 2, {}, {}, kExportHelp},
    {"info", RunInfo, 1, 1, {}, {}, kInfoHelp},
    {"check", RunCheck, 1, 1, {}, {}, kCheckHelp},
    {"autostart", RunAutostart, 0, 1, {}, {}, kAutostartHelp},
};

bool Contains(const std::vector<std::string_view>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The words after the command's name; false when one of them is --help.
bool ParseWords(const Command& command, int argc, char** argv, CommandLine& line) {
    bool operandsOnly = false;
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if (operandsOnly || word == "-" || !word.starts_with('-')) {
            line.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            operandsOnly = true;
            continue;
        }
        if (word == "--help")
            return false;
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (Contains(command.flags, name) && equals == std::string::npos) {
            line.options[name];
        } else if (Contains(command.valueOptions, name)) {
            if (equals == std::string::npos && i + 1 == argc)
                throw UsageError(Concat(name, " needs a value"));
            line.options[name] = equals == std::string::npos ? argv[++i] : word.substr(equals + 1);
        } else {
            throw UsageError(Concat("unknown option '", word, "'"));
        }
    }
    if (line.operands.size() < command.minOperands)
        throw UsageError("missing DECK.qld");
    if (line.operands.size() > command.maxOperands)
        throw UsageError(Concat("unexpected argument '", line.operands[command.maxOperands], "'"));
    return true;
}

} // namespace

void PrintError(const std::string& file, const std::string& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "qld: %s: %s\n", file.c_str(), reason.c_str());
}

std::string Counted(long long count, std::string_view noun) {
    return Concat(std::to_string(count), " ", noun, count == 1 ? "" : "s");
}

int main(int argc, char** argv) {
    const std::string name = argc > 1 ? argv[1] : "";
    if (name == "--help" || name == "help") {
        std::fputs(kOverview.data(), stdout);
        return 0;
    }
    const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const Command& c) { return c.name == name; });
    if (command == kCommands.end()) {
        if (name.empty())
            std::fputs(kOverview.data(), stderr);
        else
            std::fprintf(stderr, "qld: unknown command '%s'\nTry 'qld --help'.\n", name.c_str());
        return 2;
    }
    try {
        CommandLine line;
        if (!ParseWords(*command, argc, argv, line)) {
            std::fputs(command->help.data(), stdout);
            return 0;
        }
        return command->run(line);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "qld: %s\nTry 'qld %s --help'.\n", error.what(), name.c_str());
        return 2;
    } catch (const std::bad_alloc&) {
        std::fputs("qld: not enough memory; nothing more was written\n", stderr);
        return 1;
    }
}
