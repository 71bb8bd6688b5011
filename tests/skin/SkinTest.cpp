#include "AnswerEdit.h"
#include "AnswerKeys.h"
#include "BackgroundImage.h"
#include "ExitTrap.h"
#include "MessageBoxRecorder.h"
#include "PanelStatic.h"
#include "QuestionFile.h"
#include "SkinButton.h"
#include "TempDir.h"
#include "TestHost.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

// The value of the pixel in column x of the row stored at place `row` (0: first in the file):
// every value on a row of 256, and no two faces alike within the first 400 columns.
int PixelValue(int x, int row) {
    return (7 * x + 13 * row) % 256;
}

// An 8-bit picture with a 40-byte information header; a negative height stores the rows
// top-down. Colour i is stored as blue 0x10 + i, green 0x20, red 0x30; rows are padded with 0xEE.
QByteArray MakeBmp(std::int32_t width, std::int32_t height, std::uint32_t colorsUsed) {
    const std::uint32_t entries = colorsUsed == 0 ? 256 : colorsUsed;
    const std::uint32_t stride = (width + 3) & ~3, rows = std::abs(height);
    const std::uint32_t pixelsAt = 54 + 4 * entries;
    QByteArray b("BM");
    for (std::uint32_t field :
         {pixelsAt + stride * rows, 0u, pixelsAt, 40u, std::uint32_t(width), std::uint32_t(height),
          1u | 8u << 16, 0u, stride * rows, 2835u, 2835u, colorsUsed, 0u})
        for (int k = 0; k < 4; ++k)
            b.append(char(field >> 8 * k));
    for (std::uint32_t i = 0; i < entries; ++i)
        b.append(char(0x10 + i)).append(char(0x20)).append(char(0x30)).append(char(0));
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

// Whether the area of the shot shows the loaded picture's pixels from `from` on.
bool ShowsPicture(const QImage& shot, const QRect& area, const QPoint& from) {
    const QImage picture = GetBackBitmap()->toImage().convertToFormat(QImage::Format_RGB32);
    return shot.convertToFormat(QImage::Format_RGB32).copy(area) ==
           picture.copy(QRect(from, area.size()));
}

struct SkinTest : ::testing::Test {
    void TearDown() override { FreeBackgroundImage(); }
    MessageBoxRecorder boxes;
};

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
// the header names are read: a file a terabyte long would not fit in memory.
TEST_F(SkinTest, PixelsComeOutUprightInTheTablesColours) {
    for (const auto& [width, height, colorsUsed] :
         {std::tuple{244, 40, 0u}, {245, 40, 16u}, {245, -41, 0u}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height << ", " << colorsUsed);
        ASSERT_NE(LoadPicture(MakeBmp(width, height, colorsUsed), 1ULL << 40), nullptr);
        const int colours = colorsUsed == 0 ? 256 : 16, rows = std::abs(height);
        EXPECT_EQ(GetBackPalette()->size(), colours);
        const QImage shown = GetBackBitmap()->toImage();
        ASSERT_EQ(shown.size(), QSize(width, rows));
        int wrong = 0;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x) {
                const int value = PixelValue(x, height < 0 ? y : rows - 1 - y);
                wrong += shown.pixel(x, y) !=
                         (value < colours ? qRgb(0x30, 0x20, 0x10 + value) : qRgb(0, 0, 0));
            }
        EXPECT_EQ(wrong, 0);
    }
}

// A picture that cannot serve releases the one before, says nothing and leaves plain buttons.
TEST_F(SkinTest, PictureThatCannotServeLeavesPlainButtons) {
    const QByteArray good = MakeBmp(244, 40, 16); // 54 + 64 + 40 x 244 bytes
    // A file cut short, or the bit count, the colours used, the width or the height changed in a
    // file with bytes enough for any size; only sizes from the skin's map to 4096 serve.
    std::vector<std::pair<QByteArray, bool>> pictures = {
        {good.left(53), false}, {good.left(54 + 63), false}, {good.left(good.size() - 1), false}};
    const std::tuple<int, std::int32_t, bool> fields[] = {
        {18, 4096, true},       {22, -4096, true}, {28, 24, false},   {46, 257, false},
        {46, INT32_MIN, false}, {18, 0, false},    {18, 4097, false}, {22, -4097, false},
        {18, 243, false},       {22, -39, false}};
    for (const auto& [offset, value, serves] : fields) {
        QByteArray& file = pictures.emplace_back(good + QByteArray(4096 * 244, '\0'), serves).first;
        for (int k = 0; k < 4; ++k)
            file[offset + k] = char(value >> 8 * k);
    }
    for (const auto& [picture, serves] : pictures) {
        ASSERT_NE(LoadPicture(good), nullptr);
        EXPECT_EQ(LoadPicture(picture) != nullptr, serves) << picture.size();
        EXPECT_EQ(GetBackBitmap() != nullptr, serves);
    }
    EXPECT_TRUE(boxes.Shown().empty());
    CSkinButton skinned;
    QPushButton plain("Edit");
    skinned.setText("Edit");
    skinned.resize(50, 20), plain.resize(50, 20);
    EXPECT_EQ(skinned.grab().toImage(), plain.grab().toImage());

    EXPECT_EQ(ExitStatusOf([] { LoadBackgroundImage("/nonexistent/folder/"); }), 1);
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"'backimg.bmp' file not found"});
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
}

// The command (-1: none) arrives before the key click returns; a key without one reaches the box.
TEST(AnswerEditTest, KeysSendTheirCommandsOrReachTheBox) {
    // clang-format off
    const std::tuple<const char*, int, const char*> cases[] = {
        {"Return", KEYCMD_ANSWER, ""}, {"Num+Enter", KEYCMD_ANSWER, ""},
        {"Shift+Return", KEYCMD_EDIT, ""}, {"Ctrl+Return", -1, "\n"}, {"Alt+Return", -1, ""},
        {"Tab", -1, ""}, {"Ctrl+Tab", -1, "\t"}, {"F7", KEYCMD_GO, ""}, {"Alt+F7", -1, ""},
        {"Ctrl+F8", KEYCMD_NEXT, ""}, {"F9", KEYCMD_FUNCTION, ""}, {"A", -1, "a"}};
    // clang-format on
    for (const auto& [keys, command, typed] : cases) {
        SCOPED_TRACE(keys);
        CommandRecorder window;
        auto* box = new CAnswerEdit(257);
        box->setParent(&window);
        const QKeyCombination key = QKeySequence(keys)[0];
        QTest::keyClick(box, key.key(), key.keyboardModifiers());
        EXPECT_EQ(window.command, command);
        EXPECT_EQ(box->toPlainText().toStdString(), typed);
    }
}

// Faces follow at steps of the button's width, four to a group; the caption is teal (the only
// colour greener than red) on the pressed face alone.
TEST_F(SkinTest, ButtonShowsTheFaceOfItsStateAndItsCaption) {
    ASSERT_NE(LoadPicture(MakeBmp(400, 40, 0)), nullptr);
    CSkinButton button;
    button.setText("Answer");
    button.SetStripPos(10, 20, 40, 20, 1);
    button.show();
    // clang-format off
    for (const auto& [state, disabled, down, underCursor] : {
             std::tuple{CSkinButton::FACE_NORMAL, false, false, false},
             {CSkinButton::FACE_PRESSED, false, true, false}, {CSkinButton::FACE_HOVER, false, false, true},
             {CSkinButton::FACE_DISABLED, true, true, true}}) {
        // clang-format on
        SCOPED_TRACE(::testing::Message() << "face " << state);
        button.setEnabled(!disabled);
        button.setDown(down);
        QCursor::setPos(button.mapToGlobal(QPoint(underCursor ? 39 : 40, 0)));
        const QImage shot = button.grab().toImage();
        const QPoint face(170 + 40 * state, 20);
        EXPECT_TRUE(ShowsPicture(shot, QRect(0, 0, 40, 3), face)) << "above the caption";
        EXPECT_FALSE(ShowsPicture(shot, shot.rect(), face)) << "a caption is drawn";
        int teal = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                teal += qGreen(shot.pixel(x, y)) > qRed(shot.pixel(x, y));
        EXPECT_EQ(teal > 0, state == CSkinButton::FACE_PRESSED);
    }
}

// The bar's segments (0: dark, 1 to 4: colours by place) and the digits of the number, the
// progress in per cent, the range's first and last, each glyph five pixels apart.
TEST_F(SkinTest, PanelShowsLevelNumberRangeModeAndProgress) {
    ASSERT_NE(LoadPicture(MakeBmp(400, 40, 0)), nullptr);
    TestHost host("", "");
    CQuestionFile file(host);
    CPanelStatic panel;
    panel.resize(54, 35);
    QuestionFileHeader& h = file.header;
    for (const auto& [correct, number, mode, from, to, position, step, bar, digits] :
         {std::tuple{0, 7, 1, 0, 19, 0, 3, "0000000000", "0007 001 0001 0020"},
          {3, 12345, 0, 4, 9, 6, 5, "1110000000", "2345 012 0005 0010"},
          {10, 42, 2, 0, 9, 13, 0, "1112223334", "0042 100 0001 0010"},
          {INT32_MIN, 1, 3, 5, 5, 5, 1, "0000000000", "0001 100 0006 0006"}}) {
        SCOPED_TRACE(digits);
        h.reviewMode = mode, h.rangeFrom = from, h.rangeTo = to;
        h.position = position, h.stepIndex = step;
        panel.SetInfo(CPanelStatic::LevelOf(correct), number, &file);
        const QImage shot = panel.grab().toImage();
        EXPECT_TRUE(ShowsPicture(shot, QRect(0, 31, 54, 4), QPoint(190, 31))) << "the face";
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(
                ShowsPicture(shot, QRect(3 + 4 * i, 2, 3, 2), {90 + 4 * (bar[i] - '0'), 10}))
                << "segment " << i;
        const QPoint at[] = {{2, 6}, {30, 6}, {2, 22}, {30, 22}};
        for (int i = 0, n = 0, k = 0; digits[i]; ++i, ++k)
            if (digits[i] == ' ')
                ++n, k = -1;
            else
                EXPECT_TRUE(ShowsPicture(shot, QRect(at[n] + QPoint(5 * k, 0), QSize(5, 9)),
                                         {90 + 5 * (digits[i] - '0'), 0}))
                    << "digit " << i;
        EXPECT_TRUE(ShowsPicture(shot, QRect(46, 2, 5, 5), {110 + 6 * mode, 9})) << "the mode";
    }
}
