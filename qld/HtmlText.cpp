#include "HtmlText.h"

#include <array>
#include <cctype>
#include <cstdint>

namespace {

std::string Lower(std::string_view text) {
    std::string lower;
    for (const unsigned char c : text)
        lower += static_cast<char>(std::tolower(c));
    return lower;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The text of the entity at the start ("&...;"), or false when it is none that is known.
bool DecodeEntity(std::string_view entity, std::string& text) {
    struct Named {
        std::string_view name;
        char character;
    };
    constexpr std::array<Named, 6> named = {
        {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}}};
    for (const auto& n : named)
        if (entity == n.name) {
            text.assign(1, n.character);
            return true;
        }
    if (entity.size() < 2 || entity[0] != '#')
        return false;
    const bool hex = entity[1] == 'x' || entity[1] == 'X';
    const std::string_view digits = entity.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return false;
    std::uint32_t code = 0;
    for (const unsigned char c : digits) {
        if (hex ? !std::isxdigit(c) : !std::isdigit(c))
            return false;
        code = code * (hex ? 16 : 10) +
               static_cast<std::uint32_t>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return false;
    text.clear();
    AppendUtf8(text, code);
    return true;
}

} // namespace

std::string HtmlToText(std::string_view html, HtmlConversion& counts) {
    std::string out;
    int breaksDue = 0;       // line breaks that come before the next text, if any comes
    bool blockEnded = false; // a block began or ended: the next text starts a line
    const auto blockBreak = [&] {
        if (blockEnded && breaksDue == 0 && !out.empty() && !out.ends_with('\n'))
            breaksDue = 1;
        blockEnded = false;
    };
    const auto text = [&](std::string_view piece) {
        blockBreak();
        out.append(static_cast<std::size_t>(breaksDue), '\n');
        counts.lineBreaks += breaksDue;
        breaksDue = 0;
        out += piece;
    };
    std::size_t nextClose = 0; // the first '>' after the last tag; npos when there is none
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        const bool tagStart = c == '<' && i + 1 < html.size() &&
                              (std::isalpha(static_cast<unsigned char>(html[i + 1])) ||
                               html[i + 1] == '/' || html[i + 1] == '!');
        if (tagStart && nextClose <= i)
            nextClose = html.find('>', i);
        if (tagStart && nextClose != std::string_view::npos) {
            const std::size_t close = nextClose;
            const std::string tag = Lower(html.substr(i + 1, close - i - 1));
            const std::string name = tag.substr(0, tag.find_first_of(" \t\r\n/", 1));
            if (name == "br") {
                blockBreak();
                ++breaksDue;
            } else if (name == "div" || name == "/div" || name == "p" || name == "/p") {
                blockEnded = true;
            } else {
                ++counts.tags;
            }
            i = close + 1;
            continue;
        }
        if (c == '&') {
            // The longest entity known is "&#x10FFFF;".
            const std::size_t semicolon = html.substr(i, 11).find(';');
            std::string decoded;
            if (semicolon != std::string_view::npos &&
                DecodeEntity(html.substr(i + 1, semicolon - 1), decoded)) {
                ++counts.entities;
                text(decoded);
                i += semicolon + 1;
                continue;
            }
        }
        text(html.substr(i, 1));
        ++i;
    }
    return out;
}
