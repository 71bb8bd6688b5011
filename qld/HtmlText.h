#pragma once

#include <string>
#include <string_view>

// What turning HTML into plain text changed.
struct HtmlConversion {
    int lineBreaks = 0; // from <br>, and between <div> and <p> blocks
    int entities = 0;   // named basics (&amp; &lt; &gt; &quot; &apos; &nbsp;) and numeric ones
    int tags = 0;       // other tags, dropped
};

// A field that flash-card programs export as HTML, as the plain text it shows: <br> and block
// boundaries become line breaks, entities their characters, other tags are dropped; line breaks
// at the end are left out. A '<' that starts no tag and an entity it does not know stay as text.
std::string HtmlToText(std::string_view html, HtmlConversion& counts);
