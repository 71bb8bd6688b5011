#include "DataFileBuilder.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

// The built qld on the decks that other programs wrote (tests/qld/samples, made by
// tools/import-samples/make), run in a fresh folder.
struct DeckImportTest : ::testing::Test {
    // The exit status, a space, then the standard output and the standard error.
    std::string Run(const std::string& words) {
        const auto sh =
            "cd '" + dir.Path() + "' && '" QLD_EXECUTABLE "' " + words + " >.out 2>.err </dev/null";
        const int status = std::system(sh.c_str());
        return std::to_string(WEXITSTATUS(status)) + " " + Text(".out") + Text(".err");
    }
    std::string Text(const std::string& name) const {
        return {std::istreambuf_iterator<char>(std::ifstream(dir.File(name)).rdbuf()), {}};
    }
    static std::string Sample(const std::string& name) {
        return std::string(QLD_SAMPLES "/") + name;
    }

    TempDir dir;
};

// Each program's deck, imported, gives these cards and this summary; a deck's export shows the
// texts as the records hold them.
TEST_F(DeckImportTest, DecksOfOtherProgramsGiveTheirCards) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"import deck.qld anki-apkg-export.apkg",
         "0 deck.qld: 3 cards added to a new file, 3 records; from HTML: 1 entity, 2 tags "
         "removed; left out: 1 sound, 1 image\n"
         "qld: anki-apkg-export.apkg: note 4: one field, no answer: skipped\n",
         "France\tParis\nJapan\tTokyo & Kyoto before 1869\nPeru\tLima\n"},
        {"import deck.qld genanki-js.apkg",
         "0 deck.qld: 6 cards added to a new file, 6 records; from HTML: 1 line break, 1 entity; "
         "left out: 1 image\n",
         "der Hund\tthe dog\n\"die Katze\n(f.)\"\tthe cat\ndas Haus\tthe house\n"
         "[...] is the capital of Australia\tCanberra\n"
         "Canberra is the capital of [country]\tAustralia\n"
         "Water boils at [...] at sea level.\t100 \xC2\xB0"
         "C\n"},
        // The second note's example is only a sound, the third's empty: no question.
        {"import --deck German --fields Example,1 deck.qld genanki-js.apkg",
         "0 deck.qld: 1 card added to a new file, 1 record; from HTML: 1 line break; left out: 1 "
         "sound\n"
         "qld: genanki-js.apkg: note 2: a blank row: skipped\n"
         "qld: genanki-js.apkg: note 3: a blank row: skipped\n",
         "Der Hund bellt.\tder Hund\n"},
        // The newest collection, not the old one beside it that asks for a newer Anki.
        {"import deck.qld anki21.colpkg", "0 deck.qld: 2 cards added to a new file, 2 records\n",
         "Danube\tBlack Sea\nVolga\tCaspian Sea\n"},
        {"import deck.qld anki21b.apkg",
         "0 deck.qld: 4 cards added to a new file, 4 records; from HTML: 2 tags removed; left "
         "out: 1 sound, 1 note of image occlusion\n",
         "el perro\tthe dog\nhablar\tto speak\n[...] is in Spain; [city] again\tMadrid\n"
         "Madrid is in [...]; Madrid again\tSpain\n"},
        {"info genanki-js.apkg",
         "0 genanki-js.apkg: 2 decks\n  German::Words  3 cards\n  Facts          3 cards\n", ""},
        {"info anki21b.apkg",
         "0 anki21b.apkg: 2 decks\n  Spanish         3 cards\n  Spanish::Verbs  1 card\n", ""},
        {"import deck.qld mnemosyne.cards",
         "0 deck.qld: 6 cards added to a new file, 6 records; from HTML: 2 tags removed; left "
         "out: 1 sound\n",
         "Ottawa\tcapital of Canada\nred\trouge\nchien\tdog\nbark\taboyer\n"
         "The [...] flows into the North Sea.\tRhine\nThe Rhine flows into the [...].\tNorth "
         "Sea\n"},
        // KWordQuiz's example ends in nine empty entries.
        {"import --columns German,English deck.qld kwordquiz-example.kvtml",
         "0 deck.qld: 9 cards added to a new file, 9 records\n" +
             [] {
                 std::string skips;
                 for (int entry = 10; entry <= 18; ++entry)
                     skips += "qld: kwordquiz-example.kvtml: entry " + std::to_string(entry) +
                              ": a blank row: skipped\n";
                 return skips;
             }(),
         "ein\tone\nzwei\ttwo\ndrei\tthree\nvier\tfour\nf\xC3\xBCnf\tfive\nsechs\tsix\n"
         "sieben\tseven\nacht\teight\nneun\tnine\n"},
    };
    for (const auto& [words, output, exported] : cases) {
        std::filesystem::remove(dir.File("deck.qld"));
        std::string sampled = words;
        const std::size_t file = sampled.rfind(' ') + 1;
        sampled.replace(file, std::string::npos, "'" + Sample(sampled.substr(file)) + "'");
        std::string got = Run(sampled);
        for (std::size_t at; (at = got.find(QLD_SAMPLES "/")) != std::string::npos;)
            got.erase(at, sizeof QLD_SAMPLES);
        EXPECT_EQ(got, output) << words;
        if (!exported.empty()) {
            EXPECT_EQ(Run("export deck.qld"), "0 " + exported) << words;
        }
    }
}

// Damaged and hostile files are refused with the file's name and the reason, and no deck is
// made; text that is not UTF-8 is mended; a KVTML 1 file picks its languages by their names.
TEST_F(DeckImportTest, DamagedFilesAreRefusedAndNothingIsWritten) {
    const Bytes genanki = ReadFileBytes(Sample("genanki-js.apkg"));
    // Ten to the tenth "a"s, from entities of ten each.
    std::string laughs = "<!DOCTYPE kvtml [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        laughs += std::string("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += std::string("&") + static_cast<char>(c - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><kvtml><e><o>&j;</o><t>x</t></e></kvtml>";
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"bomb.apkg", {}, "", "1 qld: bomb.apkg: it would unpack to more than 512 MB\n"},
        {"zstd-bomb.apkg",
         {},
         "",
         "1 qld: zstd-bomb.apkg: collection.anki21b: it would unpack to more than 512 MB\n"},
        {"zstd-bomb-untold.apkg",
         {},
         "",
         "1 qld: zstd-bomb-untold.apkg: collection.anki21b: it would unpack to more than 512 MB\n"},
        {"newer.apkg", {}, "", "1 qld: newer.apkg: made by a newer Anki (package version 4)\n"},
        {"not-sqlite.apkg",
         {},
         "",
         "1 qld: not-sqlite.apkg: not a readable Anki collection: file is not a database\n"},
        {"cut.apkg", std::string(genanki.begin(), genanki.begin() + 30000), "",
         "1 qld: cut.apkg: not a sound zip archive: Not a zip archive\n"},
        {"genanki-js.apkg",
         {},
         "--deck Nope",
         "1 qld: genanki-js.apkg: no deck named 'Nope'; the decks are Default, German::Words, "
         "Facts\n"},
        {"genanki-js.apkg",
         {},
         "--fields Front,Nope",
         "1 qld: genanki-js.apkg: --fields Front,Nope: no note type has these fields; they have "
         "Front, Back, Example; Text, Back Extra\n"},
        {"genanki-js.apkg",
         {},
         "--header",
         "2 qld: --header does not apply to genanki-js.apkg\nTry 'qld import --help'.\n"},
        {"kwordquiz-example.kvtml",
         {},
         "--columns 3,1",
         "1 qld: kwordquiz-example.kvtml: --columns: '3' is none of English, German\n"},
        {"open.kvtml", "<kvtml>\n<e><o>a</o></kvtml>", "",
         "1 qld: open.kvtml: line 2: mismatched tag\n"},
        {"laughs.kvtml", laughs, "",
         "1 qld: laughs.kvtml: line 1: limit on input amplification factor (from DTD and entities) "
         "breached\n"},
        {"not-utf8.apkg", {}, "", "0 deck.qld: 1 card added to a new file, 1 record\n"},
        {"v1.kvtml",
         ("<kvtml><e><o l=\"en\">dog</o><t l=\"fr\">chien</t><t l=\"de\">Hund</t></e>"
          "<e><o>cat</o><t>chat</t><t>Katze &amp; Kater</t></e></kvtml>"),
         "--columns de,en", "0 deck.qld: 2 cards added, 3 records\n"},
    };
    for (const auto& [name, bytes, options, output] : cases) {
        WriteFileBytes(dir.File(name), bytes.empty() ? ReadFileBytes(Sample(name))
                                                     : Bytes(bytes.begin(), bytes.end()));
        EXPECT_EQ(Run("import " + options + " deck.qld " + name), output);
        EXPECT_EQ(std::filesystem::exists(dir.File("deck.qld")), output.starts_with("0")) << name;
    }
    // Bytes that are not UTF-8 text, and a NUL, as U+FFFD.
    EXPECT_EQ(Run("export deck.qld"), "0 caf\xEF\xBF\xBD\ta\xEF\xBF\xBD"
                                      "b\nHund\tdog\nKatze & Kater\tcat\n");
}

// A package of 3000 notes fills the deck and goes on into the free names beside it.
TEST_F(DeckImportTest, SplitFillsFurtherDecksWithFreeNames) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.File("col").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE col (ver, models, decks);"
                           "CREATE TABLE notes (id INTEGER PRIMARY KEY, mid, flds);"
                           "CREATE TABLE cards (nid, did, ord);"
                           "INSERT INTO col VALUES (11, '{\"1\": {\"type\": 0, \"flds\": "
                           "[{\"name\": \"Front\"}, {\"name\": \"Back\"}]}}', '{}');"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                           "i < 3000) INSERT INTO notes SELECT i, 1, 'q' || i || char(31) || 'a' "
                           "|| i FROM n;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    int error = 0;
    zip_t* package = zip_open(dir.File("big.apkg").c_str(), ZIP_CREATE, &error);
    ASSERT_TRUE(package);
    zip_file_add(package, "collection.anki2",
                 zip_source_file(package, dir.File("col").c_str(), 0, -1), 0);
    ASSERT_EQ(zip_close(package), 0);
    const Bytes taken = MakeDataFile({.cards = {{"mine", "keep"}}});
    WriteFileBytes(dir.File("deck-2.qld"), taken);
    WriteFileBytes(dir.File("deck.qld"), MakeDataFile({.cards = {{"q0", "a0"}}}));

    EXPECT_EQ(Run("import --split deck.qld big.apkg"),
              "0 deck.qld: 999 cards added, 1000 records\n"
              "deck-3.qld: 1000 cards added to a new file\n"
              "deck-4.qld: 1000 cards added to a new file\n"
              "deck-5.qld: 1 card added to a new file\n");
    EXPECT_EQ(ReadFileBytes(dir.File("deck-2.qld")), taken);
    const std::pair<std::string, std::string> ends[] = {{"deck.qld", "q999\ta999\n"},
                                                        {"deck-3.qld", "q1999\ta1999\n"},
                                                        {"deck-4.qld", "q2999\ta2999\n"},
                                                        {"deck-5.qld", "q3000\ta3000\n"}};
    for (const auto& [deck, last] : ends)
        EXPECT_TRUE(Run("export " + deck).ends_with(last)) << deck;
}

} // namespace
