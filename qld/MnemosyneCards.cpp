#include "MnemosyneCards.h"

#include "Commands.h"
#include "XmlFile.h"
#include "ZipArchive.h"

#include <cstring>
#include <map>

namespace {

// A log entry's type for an added fact.
constexpr std::string_view kAddedFact = "16";
// Longer texts are cut here; the store cuts them further to what a record holds.
constexpr std::size_t kLongestText = 4096;

class Facts : public XmlHandler {
public:
    Facts(const CardHandler& onCard, OtherDeckRead& read) : m_onCard(onCard), m_read(read) {}

    void Start(std::string_view element, const char** attributes) override {
        if (element == "log") {
            m_fact = false;
            for (const char** a = attributes; a[0]; a += 2)
                m_fact = m_fact || (std::strcmp(a[0], "type") == 0 && a[1] == kAddedFact);
            m_keys.clear();
        }
        m_text.clear();
    }

    void End(std::string_view element) override {
        if (element == "log" && m_fact)
            Fact();
        else if (m_fact)
            m_keys[std::string(element)] = m_text;
    }

    void Text(std::string_view text) override {
        m_text.append(text.substr(0, kLongestText - std::min(kLongestText, m_text.size())));
    }

    int otherFacts = 0;

private:
    void Fact() {
        ++m_number;
        // Front and back ("f", "b"), or a word, its pronunciation and meaning ("f", "p_1", "m_1").
        const auto answer = m_keys.count("b") ? m_keys.find("b") : m_keys.find("m_1");
        if (!m_keys.count("f") || answer == m_keys.end()) {
            ++otherFacts;
            return;
        }
        TextRow row{m_number, {FieldText(m_keys["f"], m_read.converted)}};
        if (std::string text = FieldText(answer->second, m_read.converted); !text.empty())
            row.fields.push_back(std::move(text));
        m_onCard(std::move(row), std::string());
    }

    const CardHandler& m_onCard;
    OtherDeckRead& m_read;
    bool m_fact = false;
    int m_number = 0;
    std::string m_text;
    std::map<std::string, std::string> m_keys;
};

} // namespace

OtherDeckRead ReadMnemosyneCards(const std::string& path, const CardHandler& onCard) {
    OtherDeckRead read;
    ZipArchive zip;
    if (!zip.Open(path, read.error))
        return read;
    Facts facts(onCard, read);
    XmlParser parser(facts);
    std::string error;
    const auto piece = [&](std::string_view bytes) { return parser.Feed(bytes, false, error); };
    if (zip.Read("cards.xml", piece, read.error))
        parser.Feed({}, true, error);
    if (!error.empty())
        read.error = Concat("cards.xml: ", error);
    if (!read.error.empty())
        return read;
    if (facts.otherFacts > 0)
        read.leftOut.push_back(Concat(Counted(facts.otherFacts, "fact"), " of other card types"));
    return read;
}
