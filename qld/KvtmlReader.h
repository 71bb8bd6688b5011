#pragma once

#include "DeckFormat.h"

// The entries of a KVTML file (KWordQuiz, Parley; versions 1 and 2): the first two languages, or
// those that --columns names by number or name, as question and answer. Read with expat in
// pieces, so that a file of any length takes little memory.
OtherDeckRead ReadKvtml(const std::string& path, const DeckChoice& choice,
                        const CardHandler& onCard);
