#include "XmlFile.h"

#include "Commands.h"

#include <expat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

void AppendText(std::string& text, std::string_view piece) {
    constexpr std::size_t kLongest = 4096;
    text.append(piece.substr(0, kLongest - std::min(kLongest, text.size())));
}

struct XmlParser::Impl {
    XML_Parser parser;
    XmlHandler& handler;
};

XmlParser::XmlParser(XmlHandler& handler) : m_impl(new Impl{XML_ParserCreate("UTF-8"), handler}) {
    XML_SetUserData(m_impl->parser, &handler);
    XML_SetElementHandler(
        m_impl->parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto& h = *static_cast<XmlHandler*>(data);
            if (h.stop.empty())
                h.Start(name, attributes);
        },
        [](void* data, const XML_Char* name) {
            auto& h = *static_cast<XmlHandler*>(data);
            if (h.stop.empty())
                h.End(name);
        });
    XML_SetCharacterDataHandler(m_impl->parser, [](void* data, const XML_Char* text, int length) {
        auto& h = *static_cast<XmlHandler*>(data);
        if (h.stop.empty())
            h.Text({text, static_cast<std::size_t>(length)});
    });
}

XmlParser::~XmlParser() {
    XML_ParserFree(m_impl->parser);
    delete m_impl;
}

bool XmlParser::Feed(std::string_view piece, bool last, std::string& error) {
    const bool parsed = XML_Parse(m_impl->parser, piece.data(), static_cast<int>(piece.size()),
                                  last) == XML_STATUS_OK;
    if (!m_impl->handler.stop.empty())
        error = m_impl->handler.stop;
    else if (!parsed)
        error = Concat("line ", std::to_string(XML_GetCurrentLineNumber(m_impl->parser)), ": ",
                       XML_ErrorString(XML_GetErrorCode(m_impl->parser)));
    return parsed && m_impl->handler.stop.empty();
}

bool ParseXmlFile(const std::string& path, XmlHandler& handler, std::string& error) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> in(std::fopen(path.c_str(), "rb"),
                                                                &std::fclose);
    if (!in) {
        error = Concat("cannot open: ", std::strerror(errno));
        return false;
    }
    XmlParser parser(handler);
    char buffer[64 * 1024];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, in.get());
        if (std::ferror(in.get())) {
            error = Concat("cannot read: ", std::strerror(errno));
            return false;
        }
        const bool last = got < sizeof buffer;
        if (!parser.Feed({buffer, got}, last, error))
            return false;
        if (last)
            return true;
    }
}
