#pragma once

#include "HtmlText.h"

#include <string>
#include <string_view>
#include <vector>

// The fields of an Anki note as card texts.

// What turning fields into plain text left out or changed.
struct NoteConversion {
    HtmlConversion html;
    int sounds = 0; // [sound:...] and <audio> tags
    int images = 0; // <img> tags
};

// A field as the plain text it shows: sounds and pictures left out and counted, the rest
// read as HTML, spaces and line breaks at both ends trimmed; what is not UTF-8 text, or a NUL,
// becomes U+FFFD.
std::string FieldText(std::string_view html, NoteConversion& counts);

// The numbers of the deletions ({{c1::...}}, {{c2::...::hint}}) of a cloze text, ascending,
// each once.
std::vector<int> ClozeNumbers(std::string_view text);

struct ClozeCard {
    std::string question; // the text with deletion n shown as [...] or [hint], the others filled
    std::string answer;   // the texts deletion n hides, joined by ", " where it hides several
};

// Deletions may nest (16 deep); one that does not close is plain text.
ClozeCard MakeClozeCard(std::string_view text, int number);
