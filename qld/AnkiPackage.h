#pragma once

#include "DeckFormat.h"

// The notes of an Anki package (.apkg, .colpkg), from the newest collection that it holds
// (collection.anki21b, compressed with zstd; collection.anki21; collection.anki2): a note gives
// one card from two of its fields, a cloze note one card per deletion. The collection is copied
// to a private temporary file and opened read-only there.
OtherDeckRead ReadAnkiPackage(const std::string& path, const DeckChoice& choice,
                              const CardHandler& onCard);
