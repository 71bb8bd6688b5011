#include "DeckFormat.h"

#include "AnkiPackage.h"
#include "Commands.h"
#include "KvtmlReader.h"
#include "MnemosyneCards.h"
#include "ZipArchive.h"

#include <filesystem>
#include <fstream>

DeckKind DetectDeckKind(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string start(4096, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    if (start.starts_with("PK\x03\x04") || start.starts_with("PK\x05\x06")) {
        ZipArchive zip;
        std::string ignored;
        return zip.Open(path, ignored) && zip.Has("cards.xml") ? DeckKind::MnemosyneCards
                                                               : DeckKind::AnkiPackage;
    }
    // A package that is no zip archive is damaged, not text.
    const std::string extension = std::filesystem::path(path).extension().string();
    if (extension == ".apkg" || extension == ".colpkg")
        return DeckKind::AnkiPackage;
    if (extension == ".cards")
        return DeckKind::MnemosyneCards;
    const std::size_t first =
        start.find_first_not_of(" \t\r\n", start.starts_with("\xEF\xBB\xBF") ? 3 : 0);
    if (first != std::string::npos && start[first] == '<' &&
        start.find("<kvtml") != std::string::npos)
        return DeckKind::Kvtml;
    return DeckKind::Text;
}

const char* RowUnit(DeckKind kind) {
    switch (kind) {
    case DeckKind::AnkiPackage:
        return "note";
    case DeckKind::MnemosyneCards:
        return "fact";
    case DeckKind::Kvtml:
        return "entry";
    case DeckKind::Text:
        break;
    }
    return "line";
}

OtherDeckRead ReadOtherDeck(DeckKind kind, const std::string& path, const DeckChoice& choice,
                            const CardHandler& onCard) {
    switch (kind) {
    case DeckKind::AnkiPackage:
        return ReadAnkiPackage(path, choice, onCard);
    case DeckKind::MnemosyneCards:
        return ReadMnemosyneCards(path, onCard);
    case DeckKind::Kvtml:
        return ReadKvtml(path, choice, onCard);
    case DeckKind::Text:
        break;
    }
    OtherDeckRead read;
    read.error = "not a deck of another program";
    return read;
}

std::string LeftOutNote(const OtherDeckRead& read) {
    std::vector<std::string> parts;
    if (read.converted.sounds > 0)
        parts.push_back(Counted(read.converted.sounds, "sound"));
    if (read.converted.images > 0)
        parts.push_back(Counted(read.converted.images, "image"));
    parts.insert(parts.end(), read.leftOut.begin(), read.leftOut.end());
    std::string note;
    for (const std::string& part : parts)
        note += Concat(note.empty() ? "; left out: " : ", ", part);
    return note;
}

bool PickColumns(const std::string& value, const std::vector<std::string>& names,
                 std::vector<int>& picked, std::string& error) {
    picked.clear();
    for (std::size_t from = 0; from <= value.size();) {
        std::size_t to = value.find(',', from);
        to = to == std::string::npos ? value.size() : to;
        const std::string item = value.substr(from, to - from);
        int at = -1;
        for (std::size_t i = 0; i < names.size() && at < 0; ++i)
            if (names[i] == item || std::to_string(i + 1) == item)
                at = static_cast<int>(i);
        if (at < 0) {
            std::string known;
            for (const std::string& name : names)
                known += Concat(known.empty() ? "" : ", ", name);
            error = Concat("'", item, "' is none of ", known);
            return false;
        }
        picked.push_back(at);
        from = to + 1;
    }
    if (picked.size() != 2) {
        error = Concat("'", value, "' names ", std::to_string(picked.size()), ", not 2");
        return false;
    }
    return true;
}
