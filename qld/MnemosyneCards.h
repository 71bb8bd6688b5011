#pragma once

#include "DeckFormat.h"

// The facts of a Mnemosyne 2 card package (.cards: a zip archive whose cards.xml is a list of
// log entries): a front-and-back fact gives its front and back, a vocabulary fact its foreign
// word and meaning, a cloze fact a card for each deletion; facts of other card types are left
// out and counted.
OtherDeckRead ReadMnemosyneCards(const std::string& path, const CardHandler& onCard);
