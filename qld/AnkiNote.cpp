#include "AnkiNote.h"

#include "DelimitedText.h"

#include <algorithm>
#include <cctype>

namespace {

// Whether the text starts with the tag ("<img"), in any case, followed by no other letter.
bool Tag(std::string_view text, std::string_view tag) {
    return text.size() >= tag.size() &&
           std::equal(
               tag.begin(), tag.end(), text.begin(),
               [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; }) &&
           (text.size() == tag.size() ||
            !std::isalpha(static_cast<unsigned char>(text[tag.size()])));
}

// One deletion: where it starts and ends in the text, its number, its text and hint.
struct Deletion {
    std::size_t begin = 0, end = 0;
    int number = 0;
    std::string_view inside, hint;
};

// The deletion at `at` ("{{cN::"), found with its closing "}}" counting nested pairs.
bool DeletionAt(std::string_view text, std::size_t at, Deletion& found) {
    if (text.compare(at, 3, "{{c") != 0)
        return false;
    std::size_t i = at + 3;
    int number = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && number < 10000)
        number = number * 10 + (text[i++] - '0');
    if (i == at + 3 || text.compare(i, 2, "::") != 0)
        return false;
    const std::size_t start = i + 2;
    int depth = 1;
    for (i = start; i + 1 < text.size(); ++i) {
        if (text.compare(i, 2, "{{") == 0) {
            ++depth;
            ++i;
        } else if (text.compare(i, 2, "}}") == 0 && --depth == 0) {
            std::string_view inside = text.substr(start, i - start);
            // A hint is after the last "::" outside nested deletions.
            std::string_view hint;
            int nested = 0;
            for (std::size_t j = 0; j + 1 < inside.size(); ++j) {
                if (inside.compare(j, 2, "{{") == 0)
                    ++nested, ++j;
                else if (inside.compare(j, 2, "}}") == 0)
                    --nested, ++j;
                else if (nested == 0 && inside.compare(j, 2, "::") == 0) {
                    hint = inside.substr(j + 2);
                    inside = inside.substr(0, j);
                    break;
                }
            }
            found = {at, i + 2, number, inside, hint};
            return true;
        } else if (text[i] == '}' && text[i + 1] == '}') {
            ++i;
        }
    }
    return false;
}

// The text with deletion `number` replaced by `hidden(deletion)` and the others filled in; each
// text that deletion hides goes to `hides`.
// Deletions nested deeper than this are plain text.
constexpr int kDeepestDeletion = 16;

std::string Render(std::string_view text, int number, std::vector<std::string>* hides,
                   int depth = 0) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        Deletion d;
        if (depth == kDeepestDeletion || !DeletionAt(text, i, d)) {
            out += text[i++];
            continue;
        }
        const std::string inside =
            Render(d.inside, number, d.number == number ? nullptr : hides, depth + 1);
        if (d.number == number) {
            out.append("[").append(d.hint.empty() ? "..." : d.hint).append("]");
            if (hides && std::find(hides->begin(), hides->end(), inside) == hides->end())
                hides->push_back(inside);
        } else {
            out += inside;
        }
        i = d.end;
    }
    return out;
}

} // namespace

std::string FieldText(std::string_view html, NoteConversion& counts) {
    std::string kept;
    for (std::size_t i = 0; i < html.size();) {
        const std::string_view rest = html.substr(i);
        const bool soundTag = rest.starts_with("[sound:");
        const bool audio = Tag(rest, "<audio"), image = Tag(rest, "<img");
        const std::size_t end =
            soundTag || audio || image ? rest.find(soundTag ? ']' : '>') : std::string::npos;
        if (end == std::string::npos) {
            kept += html[i++];
            continue;
        }
        ++(image ? counts.images : counts.sounds);
        i += end + 1;
    }
    // Bytes that are no UTF-8 text, and NULs, become U+FFFD.
    std::string text;
    std::string_view rest = kept;
    for (std::size_t bad; (bad = FindBadByte(rest)) != std::string_view::npos;) {
        text.append(rest.substr(0, bad)).append("\xEF\xBF\xBD");
        rest.remove_prefix(bad + 1);
    }
    text = HtmlToText(text.append(rest), counts.html);
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    return text;
}

std::vector<int> ClozeNumbers(std::string_view text) {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < text.size(); ++i) {
        Deletion d;
        if (DeletionAt(text, i, d)) {
            numbers.push_back(d.number);
            // Nested deletions are found inside this one on the way.
            i = d.begin + 3;
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

ClozeCard MakeClozeCard(std::string_view text, int number) {
    std::vector<std::string> hides;
    ClozeCard card;
    card.question = Render(text, number, &hides);
    for (const std::string& hidden : hides)
        card.answer += (card.answer.empty() ? "" : ", ") + hidden;
    return card;
}
