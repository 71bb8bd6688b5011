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
        {"import deck.qld anki21b.apkg",
         "0 deck.qld: 4 cards added to a new file, 4 records; from HTML: 2 tags removed; left "
         "out: 1 sound\n",
         "el perro\tthe dog\nhablar\tto speak\n[...] is in Spain; [city] again\tMadrid\n"
         "Madrid is in [...]; Madrid again\tSpain\n"},
        {"info genanki-js.apkg",
         "0 genanki-js.apkg: 2 decks\n  German::Words  3 cards\n  Facts          3 cards\n", ""},
        {"info anki21b.apkg",
         "0 anki21b.apkg: 2 decks\n  Spanish         3 cards\n  Spanish::Verbs  1 card\n", ""},
        {"import deck.qld mnemosyne.cards",
         "0 deck.qld: 4 cards added to a new file, 4 records; from HTML: 2 tags removed; left "
         "out: 1 sound\n",
         "Ottawa\tcapital of Canada\nred\trouge\nchien\tdog\nbark\taboyer\n"},
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

} // namespace
