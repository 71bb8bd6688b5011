#include "AnkiPackage.h"

#include "Commands.h"
#include "ZipArchive.h"

#include <sqlite3.h>
#include <zstd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <unistd.h>

namespace {

// The collections a package may hold, newest first, and whether each is compressed with zstd.
struct Collection {
    const char* name;
    bool zstd;
};
constexpr Collection kCollections[] = {
    {"collection.anki21b", true}, {"collection.anki21", false}, {"collection.anki2", false}};

// The package layout Anki writes now ("meta": PackageMetadata, version 3 at most).
constexpr std::uint64_t kNewestPackage = 3;
// What the reading of the collection may take of memory.
constexpr sqlite3_int64 kDatabaseMemory = 64 << 20;

// The varint of field 1 of a protocol-buffer message, or 0 when it is not there.
std::uint64_t FirstVarint(std::string_view message) {
    std::size_t i = 0;
    const auto varint = [&](std::uint64_t& value) {
        value = 0;
        for (int shift = 0; i < message.size() && shift < 64; shift += 7) {
            const auto byte = static_cast<unsigned char>(message[i++]);
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if (!(byte & 0x80))
                return true;
        }
        return false;
    };
    std::uint64_t key = 0, value = 0;
    while (i < message.size() && varint(key)) {
        switch (key & 7) {
        case 0:
            if (!varint(value))
                return 0;
            if (key >> 3 == 1)
                return value;
            break;
        case 1:
            i += 8;
            break;
        case 2:
            if (!varint(value) || value > message.size() - i)
                return 0;
            i += value;
            break;
        case 5:
            i += 4;
            break;
        default:
            return 0;
        }
    }
    return 0;
}

// A private file in the temporary folder, removed when done with.
class PrivateCopy {
public:
    bool Create(std::string& error) {
        std::error_code ignored;
        std::string pattern =
            (std::filesystem::temp_directory_path(ignored) / "qld-collection-XXXXXX").string();
        m_fd = ::mkstemp(pattern.data());
        if (m_fd < 0) {
            error = Concat("cannot make a temporary copy: ", std::strerror(errno));
            return false;
        }
        m_path = pattern;
        return true;
    }
    bool Write(std::string_view bytes) {
        m_size += bytes.size();
        if (m_size > ZipArchive::kLargestUnpacked)
            return false;
        while (!bytes.empty()) {
            const ssize_t wrote = ::write(m_fd, bytes.data(), bytes.size());
            if (wrote <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(wrote));
        }
        return true;
    }
    bool TooLarge() const { return m_size > ZipArchive::kLargestUnpacked; }
    const std::string& Path() const { return m_path; }
    ~PrivateCopy() {
        if (m_fd >= 0) {
            ::close(m_fd);
            ::unlink(m_path.c_str());
        }
    }

private:
    int m_fd = -1;
    std::string m_path;
    std::uint64_t m_size = 0;
};

// Unpacks the collection into the copy, through zstd where it is compressed.
bool Unpack(const ZipArchive& zip, const Collection& collection, PrivateCopy& copy,
            std::string& error) {
    const std::unique_ptr<ZSTD_DStream, decltype(&ZSTD_freeDStream)> zstd(
        collection.zstd ? ZSTD_createDStream() : nullptr, &ZSTD_freeDStream);
    std::string out(ZSTD_DStreamOutSize(), '\0');
    std::size_t pending = 0; // not 0 while a zstd frame is unfinished
    const auto write = [&](std::string_view bytes) {
        if (copy.Write(bytes))
            return true;
        error = copy.TooLarge() ? Concat(collection.name, ": it would unpack to more than ",
                                         std::to_string(ZipArchive::kLargestUnpacked >> 20), " MB")
                                : Concat("cannot write the temporary copy: ", std::strerror(errno));
        return false;
    };
    const bool read = zip.Read(
        collection.name,
        [&](std::string_view piece) {
            if (!zstd)
                return write(piece);
            // A frame that tells its size is refused before it is unpacked.
            if (const unsigned long long size =
                    ZSTD_getFrameContentSize(piece.data(), piece.size());
                pending == 0 && size != ZSTD_CONTENTSIZE_UNKNOWN &&
                size != ZSTD_CONTENTSIZE_ERROR && size > ZipArchive::kLargestUnpacked) {
                error = Concat(collection.name, ": it would unpack to more than ",
                               std::to_string(ZipArchive::kLargestUnpacked >> 20), " MB");
                return false;
            }
            ZSTD_inBuffer in{piece.data(), piece.size(), 0};
            while (in.pos < in.size) {
                ZSTD_outBuffer o{out.data(), out.size(), 0};
                pending = ZSTD_decompressStream(zstd.get(), &o, &in);
                if (ZSTD_isError(pending)) {
                    error = Concat(collection.name, ": ", ZSTD_getErrorName(pending));
                    return false;
                }
                if (!write({out.data(), o.pos}))
                    return false;
            }
            return true;
        },
        error);
    if (read && pending != 0)
        error = Concat(collection.name, ": the compressed data ends early");
    return read && pending == 0;
}

struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(handle, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  static_cast<std::size_t>(sqlite3_column_bytes(handle, column)))
                    : std::string();
    }
};

// Far more than the 499 bytes of text a record keeps; reading longer fields only costs time.
constexpr std::size_t kLongestField = 16 * 1024;

// The field cut to kLongestField bytes, on a character boundary.
std::string Shortened(std::string field) {
    if (field.size() > kLongestField) {
        std::size_t end = kLongestField;
        while (end > 0 && (static_cast<unsigned char>(field[end]) & 0xC0) == 0x80)
            --end;
        field.resize(end);
    }
    return field;
}

struct NoteType {
    bool cloze = false;
    std::vector<std::string> fields;
    std::vector<int> picked; // the question's and the answer's field; empty: cannot be read
};

class Reader {
public:
    Reader(const DeckChoice& choice, const CardHandler& onCard, OtherDeckRead& read)
        : m_choice(choice), m_onCard(onCard), m_read(read) {}
    ~Reader() { sqlite3_close(m_db); }

    bool Open(const std::string& path) {
        // Immutable: no journal or lock beside the copy is looked for.
        std::string uri = "file:";
        for (const char c : path)
            uri += c == '%' ? "%25" : c == '?' ? "%3F" : c == '#' ? "%23" : std::string(1, c);
        uri += "?mode=ro&immutable=1";
        sqlite3_hard_heap_limit64(kDatabaseMemory);
        if (sqlite3_open_v2(uri.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
            SQLITE_OK)
            return Failed();
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        return true;
    }

    bool Read() {
        Statement version;
        if (!Prepare(version, "SELECT ver FROM col") || sqlite3_step(version.handle) != SQLITE_ROW)
            return Failed();
        const bool tables = sqlite3_column_int(version.handle, 0) >= 15;
        return ReadNoteTypes(tables) && ReadDecks(tables) && PickDecks() && ReadNotes();
    }

private:
    bool Prepare(Statement& statement, const char* sql) {
        return sqlite3_prepare_v2(m_db, sql, -1, &statement.handle, nullptr) == SQLITE_OK;
    }
    bool Failed() {
        m_read.error = Concat("not a readable Anki collection: ", m_db ? sqlite3_errmsg(m_db) : "");
        return false;
    }
    // Steps through the rows; false after an error.
    template <class Row> bool Each(Statement& statement, Row row) {
        int step;
        while ((step = sqlite3_step(statement.handle)) == SQLITE_ROW)
            row();
        return step == SQLITE_DONE || Failed();
    }

    bool ReadNoteTypes(bool tables) {
        Statement s;
        if (!Prepare(s, tables ? "SELECT n.id, n.config, f.name FROM notetypes n "
                                 "JOIN fields f ON f.ntid = n.id ORDER BY n.id, f.ord"
                               : "SELECT m.key, m.value->>'type', f.value->>'name' FROM col, "
                                 "json_each(col.models) m, json_each(m.value->'flds') f "
                                 "ORDER BY m.key, f.key"))
            return Failed();
        if (!Each(s, [&] {
                NoteType& type = m_types[sqlite3_column_int64(s.handle, 0)];
                type.cloze = tables ? FirstVarint(s.Text(1)) == 1 : s.Text(1) == "1";
                type.fields.push_back(s.Text(2));
            }))
            return false;
        std::string error, known;
        bool any = false;
        for (auto& [id, type] : m_types) {
            if (!PickColumns(m_choice.fields.empty() ? "1,2" : m_choice.fields, type.fields,
                             type.picked, error))
                type.picked.clear();
            any = any || !type.picked.empty();
            for (std::size_t i = 0; i < type.fields.size(); ++i)
                known += Concat(i == 0 ? (known.empty() ? "" : "; ") : ", ", type.fields[i]);
        }
        if (!any && !m_types.empty())
            m_read.error = Concat("--fields ", m_choice.fields,
                                  ": no note type has these fields; they have ", known);
        return any || m_types.empty();
    }

    bool ReadDecks(bool tables) {
        Statement s;
        if (!Prepare(s, tables ? "SELECT id, name FROM decks"
                               : "SELECT key, value->>'name' FROM col, json_each(col.decks)"))
            return Failed();
        return Each(s, [&] {
            std::string name = s.Text(1);
            for (std::size_t at; (at = name.find('\x1f')) != std::string::npos;)
                name.replace(at, 1, "::");
            m_decks[sqlite3_column_int64(s.handle, 0)] = name;
        });
    }

    bool PickDecks() {
        if (m_choice.deck.empty())
            return true;
        std::string names;
        for (const auto& [id, name] : m_decks) {
            if (name == m_choice.deck || name.starts_with(m_choice.deck + "::"))
                m_picked.insert(id);
            names += Concat(names.empty() ? "" : ", ", name);
        }
        if (m_picked.empty())
            m_read.error = Concat("no deck named '", m_choice.deck, "'; the decks are ", names);
        return !m_picked.empty();
    }

    bool ReadNotes() {
        Statement s;
        if (!Prepare(s, "SELECT n.mid, n.flds, (SELECT did FROM cards c WHERE c.nid = n.id "
                        "ORDER BY c.ord LIMIT 1) FROM notes n ORDER BY n.id"))
            return Failed();
        int number = 0;
        std::map<std::string, int> unreadable; // notes by the name of a note type
        const bool ok = Each(s, [&] {
            ++number;
            const sqlite3_int64 deckId = sqlite3_column_int64(s.handle, 2);
            if (!m_choice.deck.empty() && !m_picked.count(deckId))
                return;
            const auto type = m_types.find(sqlite3_column_int64(s.handle, 0));
            if (type == m_types.end() || type->second.picked.empty()) {
                ++unreadable[type == m_types.end() ? "an unknown type"
                                                   : "a type without those fields"];
                return;
            }
            std::vector<std::string> fields;
            const std::string flds = s.Text(1);
            for (std::size_t from = 0;;) {
                const std::size_t to = flds.find('\x1f', from);
                fields.push_back(Shortened(flds.substr(from, to - from)));
                if (to == std::string::npos)
                    break;
                from = to + 1;
            }
            const auto field = [&](int at) {
                return static_cast<std::size_t>(at) < fields.size() ? fields[at] : std::string();
            };
            const auto deck = m_decks.find(deckId);
            const std::string& deckName = deck == m_decks.end() ? std::string() : deck->second;
            const std::vector<int>& picked = type->second.picked;
            if (type->second.cloze) {
                const std::string text = field(picked[0]);
                // Image occlusion hides parts of a picture, which a card here cannot show.
                if (text.find("::image-occlusion:") != std::string::npos) {
                    ++unreadable["image occlusion"];
                    return;
                }
                for (const int deletion : ClozeNumbers(text)) {
                    const ClozeCard card = MakeClozeCard(text, deletion);
                    Emit(number, card.question, card.answer, deckName);
                }
            } else {
                Emit(number, field(picked[0]), field(picked[1]), deckName);
            }
        });
        for (const auto& [why, count] : unreadable)
            m_read.leftOut.push_back(Concat(Counted(count, "note"), " of ", why));
        return ok;
    }

    // A card; one without an answer is a row of one field, one without a question no row.
    void Emit(int number, const std::string& question, const std::string& answer,
              const std::string& deck) {
        TextRow row{number, {FieldText(question, m_read.converted)}};
        std::string text = FieldText(answer, m_read.converted);
        if (row.fields[0].empty())
            row.fields.clear(); // no question: a blank row
        else if (!text.empty())
            row.fields.push_back(std::move(text));
        m_onCard(std::move(row), deck);
    }

    const DeckChoice& m_choice;
    const CardHandler& m_onCard;
    OtherDeckRead& m_read;
    sqlite3* m_db = nullptr;
    std::map<sqlite3_int64, NoteType> m_types;
    std::map<sqlite3_int64, std::string> m_decks;
    std::set<sqlite3_int64> m_picked;
};

} // namespace

OtherDeckRead ReadAnkiPackage(const std::string& path, const DeckChoice& choice,
                              const CardHandler& onCard) {
    OtherDeckRead read;
    ZipArchive zip;
    if (!zip.Open(path, read.error))
        return read;
    std::string meta;
    if (zip.Has("meta")) {
        if (!zip.ReadAll("meta", 64, meta, read.error))
            return read;
        if (const std::uint64_t version = FirstVarint(meta); version > kNewestPackage) {
            read.error =
                Concat("made by a newer Anki (package version ", std::to_string(version), ")");
            return read;
        }
    }
    const Collection* collection = nullptr;
    for (const Collection& c : kCollections)
        if (!collection && zip.Has(c.name))
            collection = &c;
    if (!collection) {
        read.error = "no Anki collection in the package";
        return read;
    }
    PrivateCopy copy;
    Reader reader(choice, onCard, read);
    if (copy.Create(read.error) && Unpack(zip, *collection, copy, read.error) &&
        reader.Open(copy.Path()))
        reader.Read();
    return read;
}
