#pragma once

#include "AnkiNote.h"
#include "DelimitedText.h"

#include <functional>
#include <string>
#include <vector>

// Decks that other flash-card programs keep and share, read as rows of question and answer.

// What the import's options pick from such a deck.
struct DeckChoice {
    std::string fields;  // --fields: Anki note fields, by number or name, "N,M"
    std::string deck;    // --deck: an Anki deck, with the decks below it
    std::string columns; // --columns: KVTML languages, by number or name, "N,M"
};

struct OtherDeckRead {
    std::string error;                // why the file was refused; empty when it was read
    NoteConversion converted;         // what turning fields into plain text changed
    std::vector<std::string> leftOut; // other things left out, counted in words
};

// Each row, with the name of the deck it belongs to.
using CardHandler = std::function<void(TextRow&&, const std::string& deck)>;

enum class DeckKind { Text, AnkiPackage, MnemosyneCards, Kvtml };

// What a file holds, by its content: a zip archive with Mnemosyne's cards.xml, another zip
// archive (an Anki package), XML with a <kvtml> element, or else text.
DeckKind DetectDeckKind(const std::string& path);

// What the numbers of the rows count: "line", "note", "fact", "entry".
const char* RowUnit(DeckKind kind);

OtherDeckRead ReadOtherDeck(DeckKind kind, const std::string& path, const DeckChoice& choice,
                            const CardHandler& onCard);

// "; left out: 2 sounds, 1 image, ..." or nothing.
std::string LeftOutNote(const OtherDeckRead& read);

// The numbered or named items of a "--fields" or "--columns" value: 0-based positions among
// `names`, or false with the reason.
bool PickColumns(const std::string& value, const std::vector<std::string>& names,
                 std::vector<int>& picked, std::string& error);
