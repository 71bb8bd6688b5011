#include "DataFileBuilder.h"
#include "File.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

std::string TextOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The built qld, run in a fresh folder.
class QldTest : public ::testing::Test {
protected:
    // fileLimit: the largest file the tool may write, as on a full disk.
    Outcome Run(const std::vector<std::string>& words, const std::string& input = "",
                rlim_t fileLimit = RLIM_INFINITY) {
        WriteFileBytes(dir.File(".in"), Bytes(input.begin(), input.end()));
        const pid_t pid = ::fork();
        if (pid == 0) {
            const rlimit limit{fileLimit, fileLimit};
            std::signal(SIGXFSZ, SIG_IGN);
            if (::chdir(dir.Path().c_str()) == 0 && ::setrlimit(RLIMIT_FSIZE, &limit) == 0) {
                const char* streams[] = {".in", ".out", ".err"};
                for (int fd = 0; fd < 3; ++fd)
                    ::dup2(::open(streams[fd], fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC,
                                  0600),
                           fd);
                std::vector<char*> argv{const_cast<char*>(QLD_EXECUTABLE)};
                for (const auto& word : words)
                    argv.push_back(const_cast<char*>(word.c_str()));
                argv.push_back(nullptr);
                ::execv(QLD_EXECUTABLE, argv.data());
            }
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                TextOf(ReadFileBytes(dir.File(".out"))), TextOf(ReadFileBytes(dir.File(".err")))};
    }
    void Write(const std::string& name, const std::string& text) {
        WriteFileBytes(dir.File(name), Bytes(text.begin(), text.end()));
    }
    Bytes Deck(const std::string& name = "deck.qld") const { return ReadFileBytes(dir.File(name)); }
    // The file the tool must have written: savedTime is the moment of writing.
    static Bytes Expected(const DeckSpec& layout, const Bytes& written) {
        Bytes expected = MakeDataFile(layout);
        if (written.size() >= 104)
            PutInt32At(expected, 28, Int32At(written, 28));
        return expected;
    }

    TempDir dir;
};

using Cards = std::vector<std::pair<std::string, std::string>>;

TEST_F(QldTest, ImportMakesANewFileAndAppendsToIt) {
    Write("sheet.csv",
          "\xEF\xBB\xBFQuestion,Answer\r\n\"Paris, France\",\"say \"\"bonjour\"\"\"\r\n"
          "Two lines,\"one\r\ntwo\"\r\n");
    EXPECT_EQ(Run({"import", "deck.qld", "--dry-run", "--header", "sheet.csv"}).out,
              "deck.qld: 2 cards would be added to a new file, 2 records (nothing written)\n");
    EXPECT_FALSE(FileExists(dir.File("deck.qld")));
    Outcome first = Run({"import", "--header", "deck.qld", "sheet.csv"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "deck.qld: 2 cards added to a new file, 2 records\n");
    Cards cards = {{"Paris, France", "say \"bonjour\""}, {"Two lines", "one\ntwo"}};
    EXPECT_EQ(Deck(), Expected({.cards = cards}, Deck())) << "new-file defaults and the records";

    const Bytes two = Deck();
    EXPECT_EQ(Run({"import", "--dry-run", "deck.qld"}, "a\tb\nc\td\n").out,
              "deck.qld: 2 cards would be added, 4 records (nothing written)\n");
    EXPECT_EQ(Deck(), two);
    Outcome second = Run({"import", "deck.qld", "-"},
                         "#separator:tab\n#html:true\n#tags column:1\ntag\tQ3 &amp; Q4\tA<br>3\n");
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "deck.qld: 1 card added, 3 records; from HTML: 1 line break, 1 entity\n");
    cards.emplace_back("Q3 & Q4", "A\n3");
    EXPECT_EQ(Deck(), Expected({.cards = cards}, Deck()));
}

// export then import into a new file gives the same texts; the looking commands change nothing.
TEST_F(QldTest, ExportThenImportGivesTheSameTexts) {
    const std::string longText = std::string(497, 'x') + "\xC3\xA9";
    const DeckSpec original{.cards = {{"#separator:comma", "two\nlines"},
                                      {"tab\there", "\"quoted\""},
                                      {"", ""},
                                      {"a, b; c", longText}},
                            .optionFlags = 2,
                            .reviewMode = 0,
                            .position = 3,
                            .rangeFrom = 1};
    const Bytes deck = MakeDataFile(original);
    WriteFileBytes(dir.File("deck.qld"), deck);
    for (auto words : {std::vector<std::string>{"export", "deck.qld", "out.tsv"},
                       {"info", "deck.qld"},
                       {"check", "deck.qld"}})
        EXPECT_EQ(Run(words).status, 0) << words[0];
    EXPECT_EQ(Deck(), deck);
    EXPECT_EQ(Run({"export", "deck.qld"}).out, TextOf(Deck("out.tsv")));

    // The empty record makes a blank row, which is no card.
    EXPECT_EQ(Run({"import", "copy.qld", "out.tsv"}).err,
              "qld: out.tsv: line 4: a blank row: skipped\n");
    const Bytes copy = Deck("copy.qld");
    Cards texts = original.cards;
    texts.erase(texts.begin() + 2);
    EXPECT_EQ(copy, Expected({.cards = texts}, copy));
}

TEST_F(QldTest, ImportStopsAtTheLimitAndCutsLongTextsOnACharacter) {
    WriteFileBytes(dir.File("deck.qld"), MakeDataFile({.cards = Cards(997, {"q", "a"})}));
    std::string euros;
    for (int k = 0; k < 170; ++k)
        euros += "\xE2\x82\xAC";
    Write("in.tsv", "one\t1\n" + std::string(498, 'q') + "\xC3\xA9\t" + euros +
                        "\nthree\t3\n\n \t\nlonely\n"
                        "four\t4\nfive\t5\n");
    Outcome outcome = Run({"import", "deck.qld", "in.tsv"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "qld: in.tsv: line 5: a blank row: skipped\n"
                           "qld: in.tsv: line 6: one field, no answer: skipped\n"
                           "qld: in.tsv: 2 cards from line 7 on left out: a data file holds at "
                           "most 1000 questions\n"
                           "qld: in.tsv: line 2: question and answer cut at 499 bytes\n");
    EXPECT_EQ(outcome.out, "deck.qld: 3 cards added, 1000 records\n");
    Cards cards(997, {"q", "a"});
    cards.insert(cards.end(),
                 {{"one", "1"}, {std::string(498, 'q'), euros.substr(0, 498)}, {"three", "3"}});
    EXPECT_EQ(Deck(), Expected({.cards = cards}, Deck()));

    const Bytes full = Deck();
    outcome = Run({"import", "deck.qld", "-"}, "more\tcards\n");
    EXPECT_EQ(outcome.out, "deck.qld: 0 cards added, 1000 records\n");
    EXPECT_EQ(Deck(), full);
}

TEST_F(QldTest, CheckReportsEachProblemAndChangesNothing) {
    struct Case {
        const char* damage;
        void (*apply)(Bytes&);
        std::string report;
    } cases[] = {
        {"none", [](Bytes&) {}, "deck.qld: 3 records, no problems\n"},
        {"wrong number field", [](Bytes& b) { PutInt32At(b, RecordOffset(1), 0); },
         "deck.qld: question 2 (record 1): its number is 0\n"},
        {"short file", [](Bytes& b) { b.resize(b.size() - 10); },
         "deck.qld: the file is 3250 bytes long; its 3 records need 3260\n"},
        {"bad range", [](Bytes& b) { PutInt32At(b, 72, 5), PutInt32At(b, 76, 2); },
         "deck.qld: the range 6 to 3 is not valid: it must run forward within 1 to 1000\n"},
        {"position beyond the pass", [](Bytes& b) { PutInt32At(b, 8, 31); },
         "deck.qld: position 32 is outside the pass 1 to 31\n"},
        {"several",
         [](Bytes& b) {
             PutInt32At(b, 12, -1), PutInt32At(b, 20, 0x10), b[RecordOffset(2) + 4] = 0xFF;
             b.push_back(0);
         },
         "deck.qld: pop-up period -1 is not 0 to 360 minutes\n"
         "deck.qld: option flags 16 have bits beyond the four options\n"
         "deck.qld: the file is 3261 bytes long, 1 more than its 3 records need\n"
         "deck.qld: question 3 (record 2): the question is not UTF-8 text\n"},
        {"version 150", [](Bytes& b) { PutInt32At(b, 0, 150); },
         "deck.qld: 3 records, no problems\n"},
        {"not a data file", [](Bytes& b) { PutInt32At(b, 0, 0x6C6C6548); },
         "deck.qld: not a data file: version 1819043144 is not 1 to 200\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        Bytes bytes = MakeDataFile({.cards = {{"Q0", "A0"}, {"Q1", "A1"}, {"Q2", "A2"}}});
        c.apply(bytes);
        WriteFileBytes(dir.File("deck.qld"), bytes);
        Outcome outcome = Run({"check", "deck.qld"});
        EXPECT_EQ(outcome.out, c.report);
        EXPECT_EQ(outcome.status, c.report.ends_with("no problems\n") ? 0 : 1);
        EXPECT_EQ(Deck(), bytes);
    }
}

TEST_F(QldTest, FailuresNameTheFileAndTheReason) {
    const Bytes shortDeck(50, 0xC8);
    WriteFileBytes(dir.File("short.qld"), shortDeck);
    Write("latin1.tsv", "ok\tfine\n\xE9t\xE9\tsummer\n");
    // A deck that Quillow has open: it holds the lock on it.
    const Bytes heldDeck = MakeDataFile({.cards = {{"q", "a"}}});
    WriteFileBytes(dir.File("held.qld"), heldDeck);
    CFile quillow;
    ASSERT_TRUE(quillow.Open(dir.File("held.qld"), CFile::modeReadWrite | CFile::shareExclusive));
    Write("big.tsv", std::string(16 * 1024 * 1024 + 1, 'x'));
    struct Case {
        std::vector<std::string> words;
        std::string err;
    } cases[] = {
        {{"import", "new.qld", "latin1.tsv"}, "qld: latin1.tsv: line 2: not UTF-8 text\n"},
        {{"import", "new.qld", "big.tsv"},
         "qld: big.tsv: more than 16 MB, far more than a deck of 1000 cards takes: split it\n"},
        {{"import", "new.qld", "missing.tsv"},
         "qld: missing.tsv: cannot open: No such file or directory\n"},
        {{"import", "short.qld", "latin1.tsv"}, "qld: latin1.tsv: line 2: not UTF-8 text\n"},
        {{"import", "short.qld", "-"},
         "qld: short.qld: not a data file: version -926365496 is not 1 to 200\n"},
        {{"import", "no/such/folder.qld", "-"},
         "qld: no/such/folder.qld: Cannot create a QLD file\n"},
        {{"import", "held.qld", "-"},
         "qld: held.qld: the file is open in Quillow (or in another qld): close it there first; "
         "nothing was written\n"},
        {{"export", "short.qld", "out.tsv"},
         "qld: short.qld: not a data file: version -926365496 is not 1 to 200\n"},
        {{"info", "missing.qld"}, "qld: missing.qld: cannot open: No such file or directory\n"},
    };
    for (const auto& c : cases) {
        Outcome outcome = Run(c.words, "q\ta\n");
        EXPECT_EQ(outcome.status, 1) << c.err;
        EXPECT_EQ(outcome.err, c.err);
    }
    EXPECT_EQ(Deck("short.qld"), shortDeck);
    EXPECT_EQ(Deck("held.qld"), heldDeck);
    EXPECT_FALSE(FileExists(dir.File("new.qld")));
    EXPECT_FALSE(FileExists(dir.File("out.tsv")));

    WriteFileBytes(dir.File("deck.qld"), MakeDataFile({}));
    EXPECT_EQ(Run({"export", "deck.qld", "./deck.qld"}).err,
              "qld: ./deck.qld: is the data file itself\n");
    EXPECT_EQ(Deck().size(), 104u);
}

TEST_F(QldTest, FailedWriteEndsTheImportWithWhatWasWritten) {
    Outcome outcome = Run({"import", "deck.qld", "-"}, "q1\ta1\nq2\ta2\nq3\ta3\nq4\ta4\n", 3000);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "qld: deck.qld: Cannot write the QLD file: deck.qld\n"
                           "qld: deck.qld: stopped after 2 of 4 cards\n");
    EXPECT_EQ(Run({"export", "deck.qld"}).out, "q1\ta1\nq2\ta2\n");
}

TEST_F(QldTest, WrongUsageEndsWithStatusTwo) {
    for (auto words : std::vector<std::vector<std::string>>{{},
                                                            {"frob"},
                                                            {"import"},
                                                            {"import", "d.qld", "a", "b"},
                                                            {"import", "--sep"},
                                                            {"import", "--sep=foo", "d.qld"},
                                                            {"export", "--header", "d.qld"},
                                                            {"check", "-x", "d.qld"}}) {
        Outcome outcome = Run(words);
        EXPECT_EQ(outcome.status, 2) << testing::PrintToString(words);
        EXPECT_NE(outcome.err, "");
    }
    for (const char* command : {"import", "export", "info", "check"}) {
        Outcome outcome = Run({command, "--help"});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind(std::string("Usage: qld ") + command, 0), 0u) << outcome.out;
    }
}

// The deck that a first start copies: sound, and drilled over exactly its questions.
TEST_F(QldTest, StarterDeckPassesCheckWithItsRangeOverItsQuestions) {
    const Bytes deck = ReadFileBytes(STARTER_DECK);
    WriteFileBytes(dir.File("Quillow.qld"), deck);
    const std::string records = std::to_string(Int32At(deck, 4));
    EXPECT_EQ(Run({"check", "Quillow.qld"}).out,
              "Quillow.qld: " + records + " records, no problems\n");
    EXPECT_EQ(Int32At(deck, 72), 0);
    EXPECT_EQ(Int32At(deck, 76), Int32At(deck, 4) - 1);
    EXPECT_GE(Int32At(deck, 4), 15);
}

TEST_F(QldTest, InfoTellsTheHeaderInWords) {
    Bytes deck = MakeDataFile({.cards = Cards(5, {"q", "a"}),
                               .popupMinutes = 5,
                               .optionFlags = 10,
                               .reviewMode = 0,
                               .position = 6,
                               .rangeFrom = 4,
                               .rangeTo = 9});
    for (int slot : {1, 2, 4})
        PutInt32At(deck, CorrectCountOffset(slot), slot == 4 ? 12 : 2);
    PutInt32At(deck, 28, 86400);
    WriteFileBytes(dir.File("deck.qld"), deck);
    EXPECT_EQ(Run({"info", "deck.qld"}).out,
              "deck.qld\n"
              "  version        200\n"
              "  records        5\n"
              "  range          5 to 10\n"
              "  review mode    Careful (6 times)\n"
              "  position       7\n"
              "  pop-up period  5 minutes\n"
              "  options        Match case, Sound on\n"
              "  last saved     1970-01-02 00:00:00 UTC\n"
              "\n"
              "  correct answers  questions\n"
              "                0          2  ########################################\n"
              "                1          0\n"
              "                2          2  ########################################\n"
              "                3          0\n"
              "                4          0\n"
              "           5 to 9          0\n"
              "       10 or more          1  ####################\n");
}

} // namespace
