#include "DataFileBuilder.h"
#include "DelimitedText.h"
#include "File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

// The rows read, each as "line:field|field;".
std::string RowsOf(const ReadResult& result) {
    std::string text = result.error;
    for (const auto& row : result.rows) {
        text += std::to_string(row.line) + ":";
        for (const auto& field : row.fields)
            text += field + (&field == &row.fields.back() ? ";" : "|");
    }
    return text;
}

// The texts that spreadsheets and flash-card programs export, with the separator named or not.
TEST(DelimitedTextTest, ReadsWhatOtherProgramsExport) {
    const std::tuple<std::string, char, std::string> cases[] = {
        {"\xEF\xBB\xBF\"Paris, France\",\"say \"\"hi\"\"\"\r\n\r\n\"two\r\nlines\",x\r\n", 0,
         "1:Paris, France|say \"hi\";3:two\nlines|x;"},
        {"q1\ta1\rq2\t\"two\rlines\"\r\rq3\ta3", 0, "1:q1|a1;2:q2|two\nlines;5:q3|a3;"},
        {"Stadt;Berlin;\nFluss;Rhein, Elbe\n", 0, "1:Stadt|Berlin|;2:Fluss|Rhein, Elbe;"},
        {"1, 2, 3\tcount\n", 0, "1:1, 2, 3|count;"},
        {"#separator:tab\na;b\tc\n", ';', "2:a|b\tc;"},
        {"5\" floppy,disk\n\"Hi\" she said,x\n", 0, "1:5\" floppy|disk;2:\"Hi\" she said|x;"},
        {"#separator:tab\n#html:true\n#notetype column:1\n#deck column:2\n#tags column:5\n"
         "Basic\tDefault\tW<b>a</b>\tx, y\ttag\n",
         0, "6:Wa|x, y;"},
        {"#html:true\na<div>b</div><div><br></div><p>c</p>\tx<BR/>y<img src=\"a.png\">\n", 0,
         "2:a\nb\n\nc|x\ny;"},
        {"#html:true\n1 < 2 &amp;&nbsp;&#x1F600;\t&copy; &#0; &#55296; & <b\n", 0,
         "2:1 < 2 & \xF0\x9F\x98\x80|&copy; &#0; &#55296; & <b;"},
        {"\"open\tx\ny\n", 0, "line 1: a quoted field has no closing quote"},
        {"\"two\nlines\" more\tx\n", 0, "line 1: text after the closing quote of a field"},
        {"ok\tfine\r\xE9t\xE9\tsummer\r", 0, "line 2: not UTF-8 text"},
        {std::string("a\tb\0", 4), 0, "line 1: a NUL byte"},
        {std::string("\xFF\xFEq\0\t\0", 6), 0, "line 1: UTF-16 text; save it as UTF-8"},
        {"#separator:nonsense\na\tb\n", 0, "line 1: unknown separator"},
        {"#tags column:last\na\tb\n", 0, "line 1: not a column number: last"},
        {"a,b;c\n", 0,
         "line 1: commas and semicolons split the first line alike; name the "
         "separator with --sep"}};
    for (const auto& [text, separator, rows] : cases)
        EXPECT_EQ(RowsOf(ReadRows(text, {separator, false})), rows) << text;
    // Cut short, overlong, a surrogate, beyond U+10FFFF, a stray continuation byte.
    for (const char* bad : {"\xC3", "\xE0\x80\xAF", "\xC0\xAF", "\xED\xA0\x80", "\xED\xBF\xBF",
                            "\xF4\x90\x80\x80", "\xC3\xA9\x80"})
        EXPECT_EQ(ReadRows(std::string("\xE2\x82\xAC\t") + bad, {}).error, "line 1: not UTF-8 text")
            << bad;
}

// The built qld, run in a fresh folder that is also its configuration home.
struct QldTest : ::testing::Test {
    // The exit status (of the shell: a crash shows as 128 + the signal), a space, then what the
    // tool wrote to its standard output and its standard error. blocks: the largest file it may
    // write, in blocks of 512 bytes, as on a full disk. The tool runs with the call faults that
    // this process's environment sets.
    std::string Run(const std::string& words, const std::string& in = "", int blocks = 1 << 20) {
        Write(".in", in);
        const auto sh = "cd '" + dir.Path() + "' && trap '' XFSZ && ulimit -f " +
                        std::to_string(blocks) + " && HOME=. XDG_CONFIG_HOME=\"$PWD/.config\" " +
                        "LD_PRELOAD=" CALL_FAULTS_LIBRARY " '" + qld + "' " + words +
                        " <.in >.out 2>.err";
        const int status = std::system(sh.c_str());
        return std::to_string(WEXITSTATUS(status)) + " " + Text(".out") + Text(".err");
    }
    void Write(const std::string& name, const std::string& text) {
        WriteFileBytes(dir.File(name), Bytes(text.begin(), text.end()));
    }
    std::string Text(const std::string& name) const {
        return {std::istreambuf_iterator<char>(std::ifstream(dir.File(name)).rdbuf()), {}};
    }
    // The data file as written, its saved time left out.
    Bytes Deck(const std::string& name = "deck.qld") const {
        Bytes bytes = ReadFileBytes(dir.File(name));
        PutInt32At(bytes, 28, 0);
        return bytes;
    }

    TempDir dir;
    std::string qld = QLD_EXECUTABLE;
};

// A trial with a spreadsheet without its header row, then cards from HTML up to the limit: what
// does not fit is left out, and texts are cut after a whole grapheme cluster.
TEST_F(QldTest, ImportTriesASheetAndFillsTheFileToTheLimit) {
    std::vector<std::pair<std::string, std::string>> cards(997, {"q", "a"});
    WriteFileBytes(dir.File("deck.qld"), MakeDataFile({.cards = cards}));
    Write("sheet.csv", "Question,Answer\r\n\"q, 1\",a\r\n");
    EXPECT_EQ(Run("import deck.qld --dry-run --header sheet.csv"),
              "0 deck.qld: 1 card would be added, 998 records (nothing written)\n");
    // e with a combining accent, and a flag of two code points, each across the 499th byte.
    const std::string q(497, 'q'), a(492, 'a'), accent = "e\xCC\x81",
                                                flag = "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5";
    EXPECT_EQ(Run("import deck.qld -", "#html:true\none &amp;\t1<br>2\n" + q + accent + "\t" + a +
                                           flag + "\n\n \t\nlonely\nthree\t3\n4\t4\n"),
              "0 deck.qld: 3 cards added, 1000 records; from HTML: 1 line break, 1 entity\n"
              "qld: standard input: line 5: a blank row: skipped\n"
              "qld: standard input: line 6: one field, no answer: skipped\n"
              "qld: standard input: 1 card from line 8 on left out: a data file holds at most "
              "1000 questions\n"
              "qld: standard input: line 3: question cut to 497 bytes, answer cut to 492 bytes, "
              "each after a whole character: a text holds at most 499 bytes\n");
    cards.insert(cards.end(), {{"one &", "1\n2"}, {q, a}, {"three", "3"}});
    EXPECT_EQ(Deck(), MakeDataFile({.cards = cards}));
}

// What export writes, import reads back as the same texts; info shows the header.
TEST_F(QldTest, ExportThenImportGivesTheSameTexts) {
    std::vector<std::pair<std::string, std::string>> cards = {
        {"\xEF\xBB\xBF#separator:comma", "two\nlines"},
        {"tab\there", "\"quoted\""},
        {"", ""},
        {"a, b; c", std::string(497, 'x') + "\xC3\xA9"},
        {"say \"x\" now", "trailing "}};
    const DeckSpec layout = {.cards = cards, .optionFlags = 10, .reviewMode = 0, .rangeFrom = 1};
    Bytes deck = MakeDataFile(layout);
    PutInt32At(deck, RecordOffset(4) + 504 + 9, 0x81E3); // "trailing " and 2 of a character's 3
    WriteFileBytes(dir.File("deck.qld"), deck);
    EXPECT_EQ(Run("export deck.qld out.tsv"), "0 qld: deck.qld: question 5 (record 4): 2 bytes "
                                              "that are not UTF-8 left out of the answer\n");
    const std::string info = Run("info deck.qld");
    for (const char* line :
         {"2 to 20\n", "Careful (6 times)\n", "Match case, Sound on\n", "0          5  ######"})
        EXPECT_NE(info.find(line), std::string::npos) << line << " in\n" << info;
    // The empty record makes a blank row, which is no card.
    EXPECT_EQ(Run("import copy.qld out.tsv"), "0 copy.qld: 4 cards added to a new file, 4 records\n"
                                              "qld: out.tsv: line 4: a blank row: skipped\n");
    cards.erase(cards.begin() + 2);
    EXPECT_EQ(Deck("copy.qld"), MakeDataFile({.cards = cards}));
}

// Damage as numbers put at offsets and bytes added (or cut), and the report, which changes nothing.
TEST_F(QldTest, CheckReportsEachProblemAndChangesNothing) {
    const std::tuple<std::vector<std::pair<std::size_t, int>>, int, std::string> cases[] = {
        {{{RecordOffset(1), 0}, {8, 31}, {12, 361}, {20, 0x10}, {RecordOffset(2) + 4, 0xFF}},
         1,
         "1 deck.qld: pop-up period 361 is not 0 to 360 minutes\n"
         "deck.qld: option flags 16 have bits beyond the four options\n"
         "deck.qld: position 32 is outside the pass 1 to 31\n"
         "deck.qld: the file is 3261 bytes long, 1 more than its 3 records need\n"
         "deck.qld: question 2 (record 1): its number is 0\n"
         "deck.qld: question 3 (record 2): the question is not UTF-8 text\n"},
        {{{72, 5}, {76, 2}},
         0,
         "1 deck.qld: the range 6 to 3 is not valid: it must run forward within 1 to 1000\n"},
        {{}, -10, "1 deck.qld: the file is 3250 bytes long; its 3 records need 3260\n"},
        {{{RecordOffset(1) + 506, 0x81E3}},
         0,
         "1 deck.qld: question 2 (record 1): the answer ends "
         "in 2 bytes of an incomplete character, which Quillow leaves out\n"},
        {{{0, 150}}, 0, "0 deck.qld: 3 records, no problems\n"}};
    for (const auto& [numbers, added, report] : cases) {
        Bytes bytes = MakeDataFile({.cards = {{"Q0", "A0"}, {"Q1", "A1"}, {"Q2", "A2"}}});
        for (const auto& [offset, value] : numbers)
            PutInt32At(bytes, offset, value);
        bytes.resize(bytes.size() + added);
        WriteFileBytes(dir.File("deck.qld"), bytes);
        EXPECT_EQ(Run("check deck.qld"), report);
        EXPECT_EQ(Deck(), bytes) << report;
    }
}

// Each failure ends with status 1 and leaves the files as they were; usage errors with 2.
TEST_F(QldTest, FailuresNameTheFileAndTheReason) {
    const Bytes shortDeck(50, 0xC8), heldDeck = MakeDataFile({.cards = {{"q", "a"}}});
    WriteFileBytes(dir.File("short.qld"), shortDeck);
    WriteFileBytes(dir.File("held.qld"), heldDeck);
    CFile quillow; // as Quillow holds the file it has open
    ASSERT_TRUE(quillow.Open(dir.File("held.qld"), CFile::modeReadWrite | CFile::shareExclusive));
    Write("big.tsv", std::string(16 * 1024 * 1024 + 1, 'x'));
    // With a failing disk, the call that fails: an error is no missing deck, and a card written
    // in part is named.
    const std::tuple<const char*, std::string, std::string> failures[] = {
        {"", "import new.qld big.tsv",
         "1 qld: big.tsv: more than 16 MB, far more than a deck of 1000 cards takes: split it\n"},
        {"", "import new.qld no.tsv", "1 qld: no.tsv: cannot open: No such file or directory\n"},
        {"", "import short.qld -",
         "1 qld: short.qld: not a data file: version -926365496 is not 1 to 200\n"},
        {"1", "import short.qld -", "1 qld: short.qld: cannot open: Input/output error\n"},
        {"3", "import new.qld -", "1 qld: new.qld: Read Element Error!\n"},
        {"8", "import empty.qld -",
         "1 qld: empty.qld: Read Element Error!\n"
         "qld: empty.qld: 0 of 1 card added; record 1 was added empty\n"},
        {"", "import no/such.qld -",
         "1 qld: no/such.qld: cannot create: No such file or directory\n"},
        {"", "import held.qld -",
         "1 qld: held.qld: the file is open in Quillow (or in another qld): "
         "close it there first; nothing was written\n"},
        {"", "export held.qld ./held.qld", "1 qld: ./held.qld: is the data file itself\n"}};
    for (const auto& [failing, words, outcome] : failures) {
        ::setenv("QUILLOW_FAIL_AT", failing, 1);
        EXPECT_EQ(Run(words, "q\ta\n"), outcome);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("short.qld")), shortDeck);
    EXPECT_EQ(Deck("held.qld"), heldDeck);
    EXPECT_EQ(Deck("empty.qld"), MakeDataFile({.cards = {{"", ""}}}));
    EXPECT_FALSE(FileExists(dir.File("new.qld")));
    for (const char* words : {"", "frob", "import", "import d.qld a b", "import --sep=foo d.qld",
                              "export --header d.qld", "check -x d.qld", "autostart maybe"})
        EXPECT_TRUE(Run(words).starts_with("2 ")) << words;

    // A full disk: the cards written stay.
    EXPECT_EQ(Run("import deck.qld -", "q1\ta1\nq2\ta2\nq3\ta3\nq4\ta4\n", 6),
              "1 qld: deck.qld: Cannot write the QLD file: deck.qld\n"
              "qld: deck.qld: 2 of 4 cards added\n");
    EXPECT_EQ(Run("export deck.qld"), "0 q1\ta1\nq2\ta2\n");
    EXPECT_TRUE(Run("import fresh.qld -", "q\ta\n", 0).starts_with("1 "));
    EXPECT_FALSE(FileExists(dir.File("fresh.qld"))) << "a new deck without a card is removed";

    // A row of 16 MB of separators is one blank row, read in a small multiple of its size.
    Write("wide.tsv", std::string(16 * 1024 * 1024 - 1, '\t') + "\n");
    EXPECT_EQ(Run("import wide.qld wide.tsv"),
              "0 wide.qld: 0 cards added to a new file, 0 records\n"
              "qld: wide.tsv: line 1: a blank row: skipped\n");
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, 8 * 16 * 1024) << "kB at most";
}

// Two imports at once never overfill a deck: one stopped before any of its calls that open or
// read a file lets the other write only before it has counted the deck's records. A deck replaced
// under a stopped import is not written, and the words say so in one line.
TEST_F(QldTest, AnImportHoldsTheDeckFromItsCountToItsLastWrite) {
    Write("one.tsv", "q\ta\n");
    const Bytes full = MakeDataFile({.cards = {999, {"q", "a"}}});
    // qld stopped before its call `at`, or -1 when it ended before.
    const auto stoppedImport = [&](int at) {
        const std::string words =
            "cd '" + dir.Path() +
            "' && exec env LD_PRELOAD=" CALL_FAULTS_LIBRARY " QUILLOW_STOP_AT=" +
            std::to_string(at) + " '" + qld + "' import deck.qld one.tsv >stopped.txt 2>&1";
        const pid_t pid = ::fork();
        if (pid == 0) // the shell's process becomes qld's
            ::_exit(::execl("/bin/sh", "sh", "-c", words.c_str(), nullptr));
        int status = 0;
        return ::waitpid(pid, &status, WUNTRACED) == pid && WIFSTOPPED(status) ? pid : -1;
    };
    const auto goOn = [](pid_t pid) {
        ::kill(pid, SIGCONT);
        ::waitpid(pid, nullptr, 0);
    };
    int stops = 0;
    for (pid_t first;
         WriteFileBytes(dir.File("deck.qld"), full), (first = stoppedImport(stops + 1)) > 0;
         ++stops) {
        Run("import deck.qld one.tsv");
        goOn(first);
        EXPECT_EQ(Run("check deck.qld"), "0 deck.qld: 1000 records, no problems\n") << stops;
    }
    EXPECT_GT(stops, 5);
    WriteFileBytes(dir.File("deck.qld"), full);
    const pid_t last = stoppedImport(stops);
    WriteFileBytes(dir.File("other.qld"), full);
    std::filesystem::rename(dir.File("other.qld"), dir.File("deck.qld"));
    goOn(last);
    EXPECT_EQ(Text("stopped.txt"),
              "qld: deck.qld: Another program has replaced, moved or shortened "
              "the QLD file: deck.qld: Nothing more is written to it.\n"
              "qld: deck.qld: 1 of 1 card added\n");
    EXPECT_EQ(Deck(), full);
}

// The entry starts the Quillow beside qld; one hidden or switched off for GNOME counts as off.
TEST_F(QldTest, AutostartWritesAndRemovesTheEntry) {
    const std::string entry = dir.File(".config/autostart/quillow.desktop");
    // A copy of the tool in a folder of its own, with a stand-in for the program beside it.
    qld = dir.File("qld");
    std::filesystem::copy_file(QLD_EXECUTABLE, qld);
    const std::string program = dir.File("quillow");
    EXPECT_EQ(Run("autostart on"), "1 qld: " + program + ": no Quillow program beside qld\n");
    Write("quillow", "");
    EXPECT_EQ(Run("autostart"), "0 autostart is off\n");
    EXPECT_EQ(Run("autostart on"), "0 autostart is on: " + entry + "\n");
    const std::string text = Text(".config/autostart/quillow.desktop");
    EXPECT_NE(text.find("\nExec=" + program + "\n"), std::string::npos) << text;
    for (const char* off : {"Hidden=true\n", "X-GNOME-Autostart-enabled=false\n"}) {
        Write(".config/autostart/quillow.desktop", text + off);
        EXPECT_EQ(Run("autostart"), "0 autostart is off\n") << off;
    }
    EXPECT_EQ(Run("autostart off"), "0 autostart is off\n");
    EXPECT_FALSE(FileExists(entry));
}

} // namespace
