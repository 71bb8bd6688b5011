#include "MnemosyneCards.h"

#include "Commands.h"
#include "XmlFile.h"
#include "ZipArchive.h"

#include <cstring>
#include <map>

namespace {

// A log entry's type for an added fact.
constexpr std::string_view kAddedFact = "16";

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

    void Text(std::string_view text) override { AppendText(m_text, text); }

    int otherFacts = 0;

private:
    void Fact() {
        ++m_number;
        if (const auto text = m_keys.find("text"); text != m_keys.end())
            return Cloze(text->second);
        // Front and back ("f", "b"), or a word, its pronunciation and meaning ("f", "p_1", "m_1").
        const auto answer = m_keys.count("b") ? m_keys.find("b") : m_keys.find("m_1");
        if (!m_keys.count("f") || answer == m_keys.end()) {
            ++otherFacts;
            return;
        }
        Emit(m_keys["f"], answer->second);
    }

    // A cloze fact ("The [Rhine] flows into the [North Sea:sea]."): a card for each deletion,
    // shown as [...] or [hint] with the others filled in.
    void Cloze(const std::string& text) {
        std::vector<std::pair<std::size_t, std::size_t>> deletions; // '[' and ']'
        for (std::size_t open = text.find('['); open != std::string::npos;) {
            const std::size_t close = text.find(']', open + 2);
            if (close == std::string::npos)
                break;
            deletions.emplace_back(open, close);
            open = text.find('[', close);
        }
        for (std::size_t n = 0; n < deletions.size(); ++n) {
            std::string question, answer;
            std::size_t at = 0;
            for (std::size_t i = 0; i < deletions.size(); ++i) {
                const auto [open, close] = deletions[i];
                const std::string inside = text.substr(open + 1, close - open - 1);
                const std::size_t colon = inside.find(':');
                question += text.substr(at, open - at);
                if (i != n)
                    question += inside.substr(0, colon);
                else
                    question.append("[")
                        .append(colon == std::string::npos ? "..." : inside.substr(colon + 1))
                        .append("]");
                if (i == n)
                    answer = inside.substr(0, colon);
                at = close + 1;
            }
            Emit(question + text.substr(at), answer);
        }
        if (deletions.empty())
            ++otherFacts;
    }

    void Emit(const std::string& question, const std::string& answer) {
        TextRow row{m_number, {FieldText(question, m_read.converted)}};
        if (std::string text = FieldText(answer, m_read.converted); !text.empty())
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
