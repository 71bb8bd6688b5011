#include "KvtmlReader.h"

#include "Commands.h"
#include "XmlFile.h"

#include <cstring>
#include <map>

namespace {

class Kvtml : public XmlHandler {
public:
    Kvtml(const DeckChoice& choice, const CardHandler& onCard)
        : m_choice(choice), m_onCard(onCard) {}

    void Start(std::string_view element, const char** attributes) override {
        const auto attribute = [&](const char* name) {
            for (const char** a = attributes; a[0]; a += 2)
                if (std::strcmp(a[0], name) == 0)
                    return std::string(a[1]);
            return std::string();
        };
        m_text.clear();
        ++m_depth;
        if (element == "kvtml") {
            m_deck = attribute("title");
        } else if (element == "identifier") {
            m_names.push_back(attribute("id"));
            m_inIdentifier = true;
        } else if (element == "entry" || element == "e") {
            m_translations.clear();
        } else if (element == "translation") {
            m_column = Column(attribute("id"));
            m_translationDepth = m_depth;
        } else if (element == "o" || element == "t") {
            // Version 1: the original, then each translation, named by their languages.
            m_column = static_cast<int>(m_translations.size());
            if (m_entries == 0)
                m_version1Names.push_back(attribute("l"));
        }
        // A translation's own text, not those of its conjugations and other parts.
        m_inText = (element == "text" && m_depth == m_translationDepth + 1) || element == "o" ||
                   element == "t" || element == "name" || element == "title";
    }

    void End(std::string_view element) override {
        const bool ownText = m_inText;
        m_inText = false;
        --m_depth;
        if (element == "title" && m_deck.empty()) {
            m_deck = m_text;
        } else if (element == "name" && m_inIdentifier) {
            m_labels[m_names.back()] = m_text;
        } else if (element == "identifier") {
            m_inIdentifier = false;
        } else if (ownText && (element == "text" || element == "o" || element == "t")) {
            m_translations[m_column] = m_text;
        } else if (element == "entry" || element == "e") {
            Entry();
        }
    }

    void Text(std::string_view text) override {
        if (m_inText)
            AppendText(m_text, text);
    }

private:
    // The column of a version 2 translation: the place of its identifier.
    int Column(const std::string& id) {
        for (std::size_t i = 0; i < m_names.size(); ++i)
            if (m_names[i] == id)
                return static_cast<int>(i);
        return -1;
    }

    void Entry() {
        ++m_entries;
        if (m_picked.empty()) {
            std::vector<std::string> names;
            if (m_names.empty())
                for (std::size_t i = 0; i < m_version1Names.size(); ++i)
                    names.push_back(m_version1Names[i].empty() ? std::to_string(i + 1)
                                                               : m_version1Names[i]);
            else
                for (const std::string& id : m_names)
                    names.push_back(m_labels.count(id) ? m_labels[id] : id);
            if (names.size() < 2 && m_choice.columns.empty())
                names.resize(2);
            std::string error;
            if (!PickColumns(m_choice.columns.empty() ? "1,2" : m_choice.columns, names, m_picked,
                             error)) {
                stop = "--columns: " + error;
                return;
            }
        }
        TextRow row{m_entries, {m_translations[m_picked[0]]}};
        if (const std::string& answer = m_translations[m_picked[1]];
            answer.find_first_not_of(" \t\r\n") != std::string::npos)
            row.fields.push_back(answer);
        m_onCard(std::move(row), m_deck);
    }

    const DeckChoice& m_choice;
    const CardHandler& m_onCard;
    std::string m_deck, m_text;
    bool m_inText = false, m_inIdentifier = false;
    int m_column = -1, m_entries = 0, m_depth = 0, m_translationDepth = -2;
    std::vector<std::string> m_names, m_version1Names;
    std::map<std::string, std::string> m_labels;
    std::map<int, std::string> m_translations;
    std::vector<int> m_picked;
};

} // namespace

OtherDeckRead ReadKvtml(const std::string& path, const DeckChoice& choice,
                        const CardHandler& onCard) {
    OtherDeckRead read;
    Kvtml kvtml(choice, onCard);
    ParseXmlFile(path, kvtml, read.error);
    return read;
}
