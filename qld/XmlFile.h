#pragma once

#include <string>
#include <string_view>

// What an XML reader does with the elements and texts that expat finds.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // attributes: name, value, ..., null.
    virtual void Start(std::string_view element, const char** attributes) = 0;
    virtual void End(std::string_view element) = 0;
    virtual void Text(std::string_view text) = 0;

    std::string stop; // set to end the reading with this reason
};

// Adds a piece of an element's text to what came before, up to 4096 bytes: far more than a
// record keeps (the store cuts texts further), and little memory for any file.
void AppendText(std::string& text, std::string_view piece);

// XML fed piece by piece to expat, which refuses documents that expand entities without bound.
class XmlParser {
public:
    explicit XmlParser(XmlHandler& handler);
    ~XmlParser();
    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;

    // False, with "line N: reason" or the handler's reason to stop.
    bool Feed(std::string_view piece, bool last, std::string& error);

private:
    struct Impl;
    Impl* m_impl;
};

// A whole file, read in pieces; false, with the reason.
bool ParseXmlFile(const std::string& path, XmlHandler& handler, std::string& error);
