#include "AnswerEdit.h"
#include "AnswerKeys.h"
#include "BackgroundImage.h"
#include "ExitTrap.h"
#include "MessageBoxRecorder.h"
#include "PanelStatic.h"
#include "QuestionFileHeader.h"
#include "SkinButton.h"
#include "TempDir.h"

#include <QApplication>
#include <QCursor>
#include <QInputMethodEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The value of the pixel in column x of the row stored at place `row` (0: first in the file):
// every value on a row of 256, and no two faces alike within the first 400 columns.
constexpr auto PixelValue = [](int x, int row) { return (7 * x + 13 * row) % 256; };

// An 8-bit picture with a 40-byte information header; a negative height stores the rows
// top-down. Colour i is stored as blue 16 + i, green 32, red 48; rows are padded with 0xEE.
QByteArray MakeBmp(std::int32_t width, std::int32_t height, std::uint32_t colorsUsed) {
    const std::uint32_t entries = colorsUsed ? colorsUsed : 256, stride = (width + 3) & ~3;
    const std::uint32_t rows = std::abs(height), pixelsAt = 54 + 4 * entries;
    QByteArray b("BM");
    for (std::uint32_t field :
         {pixelsAt + stride * rows, 0u, pixelsAt, 40u, std::uint32_t(width), std::uint32_t(height),
          1u | 8u << 16, 0u, stride * rows, 2835u, 2835u, colorsUsed, 0u})
        for (int k = 0; k < 4; ++k)
            b.append(char(field >> 8 * k));
    for (std::uint32_t i = 0; i < entries; ++i)
        b.append(char(16 + i)).append(char(32)).append(char(48)).append(char(0));
    for (int row = 0; row < int(rows); ++row)
        for (int x = 0; x < int(stride); ++x)
            b.append(char(x < width ? PixelValue(x, row) : 0xEE));
    return b;
}

// Loads the picture, followed by `tail` zero bytes, as the skin from a program folder of its own.
const QVector<QRgb>* LoadPicture(const QByteArray& picture, std::uintmax_t tail = 0) {
    const TempDir dir;
    WriteFileBytes(dir.File("backimg.bmp"), Bytes(picture.begin(), picture.end()));
    std::filesystem::resize_file(dir.File("backimg.bmp"), picture.size() + tail);
    return LoadBackgroundImage(dir.Path());
}

// A window that keeps the key command its answer box sends.
struct CommandRecorder : QWidget {
    bool event(QEvent* event) override {
        if (auto* message = static_cast<CUserMessageEvent*>(event);
            event->type() == CUserMessageEvent::EventType() && message->message == WM_ANSWERKEY)
            command = message->wParam;
        return QWidget::event(event);
    }
    std::intptr_t command = -1;
};

} // namespace

// Rows of 245 are padded to 248; values beyond a table of 16 colours show black. Only the bytes
// the header names are read: a file a terabyte long would not fit in memory. A picture that cannot
// serve releases the one before and says nothing.
TEST(SkinTest, PicturesServeUprightInTheirColoursOrNotAtAll) {
    for (const auto& [width, height, used] :
         {std::tuple{244, 40, 0u}, {245, 40, 16u}, {245, -41, 0u}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height << ", colours " << used);
        ASSERT_NE(LoadPicture(MakeBmp(width, height, used), 1ULL << 40), nullptr);
        QImage expected(width, std::abs(height), QImage::Format_RGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < width; ++x) {
                const int v = PixelValue(x, height < 0 ? y : expected.height() - 1 - y);
                expected.setPixel(x, y,
                                  v < (used ? 16 : 256) ? qRgb(48, 32, 16 + v) : qRgb(0, 0, 0));
            }
        EXPECT_EQ(GetBackBitmap()->toImage().convertToFormat(QImage::Format_RGB32), expected);
    }

    MessageBoxRecorder boxes;
    const QByteArray good = MakeBmp(244, 40, 16); // 54 + 64 + 40 x 244 bytes
    // A file cut short (offset -1: to `value` bytes), or the bit count, the colours used, the width
    // or the height changed in a file with bytes enough for any size; only sizes from the skin's
    // map to 4096 serve.
    const std::tuple<int, std::int32_t, bool> cases[] = {
        {-1, 53, false},   {-1, 54 + 63, false},   {-1, good.size() - 1, false},
        {18, 4096, true},  {22, -4096, true},      {28, 24, false},
        {46, 257, false},  {46, INT32_MIN, false}, {18, 0, false},
        {18, 4097, false}, {22, -4097, false},     {18, 243, false},
        {22, -39, false}};
    for (const auto& [offset, value, serves] : cases) {
        QByteArray picture = offset < 0 ? good.left(value) : good + QByteArray(4096 * 244, '\0');
        for (int k = 0; offset >= 0 && k < 4; ++k)
            picture[offset + k] = char(value >> 8 * k);
        ASSERT_NE(LoadPicture(good), nullptr);
        EXPECT_EQ(LoadPicture(picture) != nullptr, serves) << offset << ": " << value;
        EXPECT_EQ(GetBackBitmap() != nullptr, serves) << offset << ": " << value;
    }
    EXPECT_EQ(ExitStatusOf([] { LoadBackgroundImage("/nonexistent/folder/"); }), 1);
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"'backimg.bmp' file not found"});
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
}

// The command (-1: none) arrives before the key click returns; a key without one reaches the box,
// unless held with Alt.
TEST(AnswerEditTest, KeysSendTheirCommandsOrReachTheBox) {
    const std::tuple<const char*, int, const char*> cases[] = {{"Return", KEYCMD_ANSWER, ""},
                                                               {"Num+Enter", KEYCMD_ANSWER, ""},
                                                               {"Shift+Return", KEYCMD_EDIT, ""},
                                                               {"Ctrl+Return", -1, "\n"},
                                                               {"Alt+Return", -1, ""},
                                                               {"Tab", -1, ""},
                                                               {"Ctrl+Tab", -1, "\t"},
                                                               {"F7", KEYCMD_GO, ""},
                                                               {"Alt+F7", -1, ""},
                                                               {"Ctrl+F8", KEYCMD_NEXT, ""},
                                                               {"F9", KEYCMD_FUNCTION, ""},
                                                               {"A", -1, "a"},
                                                               {"Alt+A", -1, ""},
                                                               {"Alt+Shift+Q", -1, ""}};
    for (const auto& [keys, command, typed] : cases) {
        CommandRecorder window;
        CAnswerEdit box(257);
        box.setParent(&window);
        QTest::keySequence(&box, QKeySequence(keys));
        EXPECT_EQ(window.command, command) << keys;
        EXPECT_EQ(box.toPlainText().toStdString(), typed) << keys;
    }
    CAnswerEdit box(257);
    QInputMethodEvent composing(QStringLiteral("\u304B"), {});
    QApplication::sendEvent(&box, &composing);
    QTest::keySequence(&box, QKeySequence("Alt+K"));
    EXPECT_EQ(box.textCursor().block().layout()->preeditAreaText(), QStringLiteral("\u304B"))
        << "a composition goes on through Alt+K";
}

// Button faces follow at steps of the button's width, four to a group; the caption is teal (the
// only colour greener than red) on the pressed face alone. The panel shows the bar's segments (0:
// dark, 1 to 4: colours by place) and, in groups five characters apart, the digits of the number,
// the progress in per cent, the range's first and last, each glyph five pixels apart; its text
// says all that in words for screen readers.
TEST(SkinTest, ControlsShowTheirPartsOfThePictureOrPlainFaces) {
    CSkinButton button;
    QPushButton plain("Answer");
    button.setText("Answer");
    button.SetStripPos(10, 20, 40, 20, 1);
    plain.resize(40, 20);
    FreeBackgroundImage();
    EXPECT_EQ(button.grab().toImage(), plain.grab().toImage()) << "no picture: a plain face";

    ASSERT_NE(LoadPicture(MakeBmp(400, 40, 0)), nullptr);
    const QImage picture = GetBackBitmap()->toImage().convertToFormat(QImage::Format_RGB32);
    QImage shot;
    const auto shows = [&](const QRect& area, const QPoint& from) {
        return shot.copy(area) == picture.copy(QRect(from, area.size()));
    };
    button.show();
    // The faces normal, pressed, lit and disabled: the pressed and the disabled button are down,
    // the lit and the disabled one under the mouse.
    for (const int state : {0, 1, 2, 3}) {
        button.setEnabled(state != CSkinButton::FACE_DISABLED), button.setDown(state % 2);
        QCursor::setPos(button.mapToGlobal(QPoint(state < 2 ? 40 : 39, 0)));
        shot = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shows({0, 0, 40, 3}, {170 + 40 * state, 20})) << "face " << state;
        EXPECT_FALSE(shows(shot.rect(), {170 + 40 * state, 20})) << "no caption on face " << state;
        const auto* px = reinterpret_cast<const QRgb*>(shot.constBits());
        const bool teal = std::any_of(px, px + 40 * 20, [](QRgb c) { return qGreen(c) > qRed(c); });
        EXPECT_EQ(teal, state == CSkinButton::FACE_PRESSED) << "teal caption on face " << state;
    }

    CPanelStatic panel;
    panel.resize(54, 35);
    QuestionFileHeader h;
    for (const auto& [correct, number, mode, from, to, p, step, bar, digits, read] :
         {std::tuple{
              0, 7, 1, 0, 19, 0, 3, "0000000000", "0007 001  0001 0020",
              "Question 7: 0 correct answers, 1% of the pass, Normal review, questions 1 to 20"},
          {3, 12345, 0, 4, 9, 6, 5, "1110000000", "2345 012  0005 0010",
           "Question 12345: 3 correct answers, 12% of the pass, Careful review, questions 5 to 10"},
          {10, 42, 2, 0, 9, 13, 0, "1112223334", "0042 100  0001 0010",
           "Question 42: 10 correct answers, 100% of the pass, Rough review, questions 1 to 10"},
          {INT32_MIN, 1, 3, 5, 5, 5, 1, "0000000000", "0001 100  0006 0006",
           "Question 1: 0 correct answers, 100% of the pass, No review, questions 6 to 6"}}) {
        SCOPED_TRACE(digits);
        h.reviewMode = mode, h.rangeFrom = from, h.rangeTo = to, h.position = p, h.stepIndex = step;
        panel.SetInfo(CPanelStatic::LevelOf(correct), number, h);
        shot = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shows({0, 31, 54, 4}, {190, 31})) << "the face";
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(shows({3 + 4 * i, 2, 3, 2}, {90 + 4 * (bar[i] - '0'), 10})) << "bar " << i;
        for (int i = 0; digits[i]; ++i)
            EXPECT_TRUE(digits[i] == ' ' ||
                        shows({2 + 28 * (i / 5 % 2) + 5 * (i % 5), i < 10 ? 6 : 22, 5, 9},
                              {90 + 5 * (digits[i] - '0'), 0}))
                << "digit " << i;
        EXPECT_TRUE(shows({46, 2, 5, 5}, {110 + 6 * mode, 9})) << "the mode";
        EXPECT_EQ(panel.text().toStdString(), read) << "what a screen reader reads";
    }
}
