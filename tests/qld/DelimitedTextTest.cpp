#include "DelimitedText.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows FieldsOf(const ReadResult& result) {
    Rows rows;
    for (const auto& row : result.rows)
        rows.push_back(row.fields);
    return rows;
}

// Texts in the styles that spreadsheets and flash-card programs export.
TEST(DelimitedTextTest, ReadsWhatOtherProgramsExport) {
    struct Case {
        const char* style;
        std::string text;
        ReadOptions options;
        Rows rows;
        std::vector<int> lines;
    } cases[] = {
        {"plain TSV", "cat\tKatze\ndog\tHund", {}, {{"cat", "Katze"}, {"dog", "Hund"}}, {1, 2}},
        {"spreadsheet CSV: BOM, CRLF, header row, quoting",
         "\xEF\xBB\xBFQuestion,Answer\r\n\"Paris, France\",\"say \"\"bonjour\"\"\"\r\n"
         "\"two\r\nlines\",x\r\n\r\nlast,y\r\n",
         {0, true},
         {{"Paris, France", "say \"bonjour\""}, {"two\nlines", "x"}, {"last", "y"}},
         {2, 3, 6}},
        {"settings lines and a tags column",
         "#separator:tab\n#html:false\n#tags column:3\nQ1\tA, b\ttag1\n",
         {},
         {{"Q1", "A, b"}},
         {4}},
        {"HTML fields after note type and deck columns, and settings that change nothing",
         "#separator:tab\r\n#html:true\r\n#notetype column:1\r\n#deck column:2\r\n"
         "#columns:Notetype\tDeck\tFront\tBack\r\n#tags:x y\r\n#if matches:update current\r\n"
         "Basic\tDefault\tWhat is "
         "<b>H<sub>2</sub>O</b>?\tWater<br>H&amp;O&#8322;<div>liquid</div>\r\n",
         {},
         {{"What is H2O?", "Water\nH&O\xE2\x82\x82\nliquid"}},
         {8}},
        {"semicolons",
         "Hauptstadt;Berlin;\nFluss;Rhein, Elbe\n",
         {},
         {{"Hauptstadt", "Berlin", ""}, {"Fluss", "Rhein, Elbe"}},
         {1, 2}},
        {"tab beats commas in the first line", "1, 2, 3\tcount\n", {}, {{"1, 2, 3", "count"}}, {1}},
        {"quotes inside text",
         "5\" floppy,disk\n\"Hi\" she said,x\n",
         {},
         {{"5\" floppy", "disk"}, {"\"Hi\" she said", "x"}},
         {1, 2}},
        {"--sep over the settings line",
         "#separator:tab\na;b\tc\n",
         {';', false},
         {{"a", "b\tc"}},
         {2}},
        {"CR line ends",
         "q1\ta1\rq2\t\"two\rlines\"\r\rq3\ta3",
         {},
         {{"q1", "a1"}, {"q2", "two\nlines"}, {"q3", "a3"}},
         {1, 2, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        const ReadResult result = ReadRows(c.text, c.options);
        ASSERT_EQ(result.error, "");
        EXPECT_EQ(FieldsOf(result), c.rows);
        std::vector<int> lines;
        for (const auto& row : result.rows)
            lines.push_back(row.line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(DelimitedTextTest, RefusesTextItCannotReadWithTheLine) {
    struct Case {
        std::string text, error;
    } cases[] = {
        {"a\tb\n\"open\tx\ny\n", "line 2: a quoted field has no closing quote"},
        {"\"two\nlines\" more\tx\n", "line 1: text after the closing quote of a field"},
        {"ok\tfine\nLatin-1 \xE9t\xE9\tsummer\n", "line 2: not UTF-8 text"},
        {std::string("a\tb\x00", 4), "line 1: a NUL byte"},
        {"\xFF\xFEq\0\t\0", "line 1: UTF-16 text; save it as UTF-8"},
        {"#separator:nonsense\na\tb\n", "line 1: unknown separator"},
        {"#html:true\n#tags column:last\na\tb\n", "line 2: not a column number: last"},
        {"a,b;c\n", "line 1: commas and semicolons split the first line alike; name the "
                    "separator with --sep"},
        {"ok\tfine\r\xE9t\xE9\tsummer\r", "line 2: not UTF-8 text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadRows(c.text, {}).error, c.error) << c.text;
}

TEST(DelimitedTextTest, HtmlFieldsBecomePlainText) {
    struct Case {
        std::string html, text;
        int lineBreaks, entities, tags;
    } cases[] = {
        {"a<div>b</div><div><br></div><div>c</div><div><br></div>", "a\nb\n\nc", 3, 0, 0},
        {"<p>one</p><p>two</p>", "one\ntwo", 1, 0, 0},
        {"x<BR/>y<br />z", "x\ny\nz", 2, 0, 0},
        {"<span style=\"color: red\">red</span> <img src=\"a.png\">", "red ", 0, 0, 3},
        {"1 < 2 &amp;&nbsp;3 &gt; 2 &#x1F600; &copy; &#0; &#55296; &",
         "1 < 2 & 3 > 2 \xF0\x9F\x98\x80 "
         "&copy; &#0; &#55296; &",
         0, 4, 0},
        {"<b", "<b", 0, 0, 0},
    };
    for (const auto& c : cases) {
        HtmlConversion converted;
        EXPECT_EQ(HtmlToText(c.html, converted), c.text) << c.html;
        EXPECT_EQ(converted.lineBreaks, c.lineBreaks) << c.html;
        EXPECT_EQ(converted.entities, c.entities) << c.html;
        EXPECT_EQ(converted.tags, c.tags) << c.html;
    }
}

TEST(DelimitedTextTest, FindsBytesThatAreNotUtf8) {
    struct Case {
        std::string text;
        std::size_t bad;
    } cases[] = {
        {"plain \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", std::string::npos},
        {"ab\xC3", 2},           // cut short
        {"\xE0\x80\xAF", 0},     // overlong
        {"a\xC0\xAF", 1},        // overlong in two bytes
        {"x\xED\xA0\x80", 1},    // surrogate
        {"x\xED\xBF\xBF", 1},    // the last surrogate
        {"\xF4\x90\x80\x80", 0}, // beyond U+10FFFF
        {"\xC3\xA9\x80", 2},     // stray continuation byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindBadByte(c.text), c.bad) << c.text;
}

// Whatever a record holds, its written row reads back as the same two texts, also as the first
// line of a file.
TEST(DelimitedTextTest, WrittenRowsReadBackAsTheSameTexts) {
    const std::vector<std::string> texts = {"",
                                            "plain",
                                            "tab\there",
                                            "comma, here",
                                            "semi;colon",
                                            "\"quoted\"",
                                            "say \"x\" now",
                                            "two\nlines",
                                            "#separator:comma",
                                            "\xEF\xBB\xBFmark",
                                            "trailing space "};
    for (const char separator : {'\t', ',', ';'})
        for (const auto& text : texts) {
            const ReadResult result =
                ReadRows(FormatRow(text, text, separator), {separator, false});
            EXPECT_EQ(FieldsOf(result), (Rows{{text, text}})) << separator << text;
        }
    EXPECT_EQ(FormatRow("plain", "a, b", '\t'), "plain\ta, b\n");
}

} // namespace
