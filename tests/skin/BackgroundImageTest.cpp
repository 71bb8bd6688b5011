#include "BackgroundImage.h"
#include "ExitTrap.h"
#include "MessageBoxRecorder.h"
#include "SkinButton.h"
#include "SkinPictures.h"

#include <sys/resource.h>

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

long PeakMemoryKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct BackgroundImageTest : ::testing::Test {
    void TearDown() override { FreeBackgroundImage(); }
    MessageBoxRecorder boxes;
};

} // namespace

// Rows of 244 need no padding, of 245 three bytes; values beyond a table of 16 colours show
// black. Only the bytes the picture needs are read: a long tail after them is never touched.
TEST_F(BackgroundImageTest, PixelsComeOutUprightInTheTablesColours) {
    for (const auto& [width, height, colorsUsed] :
         {std::tuple{244, 40, 0u}, {245, 40, 16u}, {245, -41, 0u}, {300, 44, 16u}}) {
        SCOPED_TRACE(::testing::Message()
                     << width << " x " << height << ", biClrUsed " << colorsUsed);
        const QByteArray picture = MakeBmp(width, height, colorsUsed);
        const TempDir dir;
        WriteFileBytes(dir.File("backimg.bmp"), Bytes(picture.begin(), picture.end()));
        std::filesystem::resize_file(dir.File("backimg.bmp"), picture.size() + (1LL << 30));
        const long peakBefore = PeakMemoryKiB();
        const QVector<QRgb>* palette = LoadBackgroundImage(dir.Path());
        EXPECT_LT(PeakMemoryKiB() - peakBefore, 64 * 1024) << "KiB more at the peak";
        ASSERT_NE(palette, nullptr);
        const int colours = colorsUsed == 0 ? 256 : 16, rows = std::abs(height);
        EXPECT_EQ(palette->size(), colours);
        EXPECT_EQ(palette->front(), qRgb(0x30, 0x20, 0x10)) << "stored 0x10, 0x20, 0x30, 0x00";
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

TEST_F(BackgroundImageTest, PicturesThatCannotServeDecodeToNothing) {
    const QByteArray good = MakeBmp(244, 40, 16); // 54 + 64 + 40 x 244 bytes
    // The bit count, the colours used, the width and the height, changed in a file with bytes
    // enough for any size; only the largest sizes serve, and none smaller than the skin's map.
    const std::tuple<int, std::int32_t, bool> fields[] = {
        {28, 24, false},    {46, 257, false},  {46, INT32_MIN, false}, {18, 0, false},
        {18, -5, false},    {18, 4097, false}, {22, 0, false},         {22, 4097, false},
        {22, -4097, false}, {18, 243, false},  {22, 39, false},        {22, -39, false},
        {18, 4096, true},   {22, -4096, true}};
    for (const auto& [offset, value, serves] : fields) {
        QByteArray file = good + QByteArray(4096 * 244, '\0');
        for (int k = 0; k < 4; ++k)
            file[offset + k] = char(value >> 8 * k);
        EXPECT_EQ(DecodeBackgroundImage(file).isNull(), !serves) << value << " at " << offset;
    }
    for (const int kept : {53, 54 + 63, int(good.size()) - 1})
        EXPECT_TRUE(DecodeBackgroundImage(good.left(kept)).isNull()) << kept << " bytes";
}

TEST_F(BackgroundImageTest, MissingPictureEndsTheProgramAfterItsMessage) {
    EXPECT_EQ(ExitStatusOf([] { LoadBackgroundImage("/nonexistent/folder/"); }), 1);
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"'backimg.bmp' file not found"});
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
}

// Without a skin the buttons keep the platform's look.
TEST_F(BackgroundImageTest, PictureOfOtherDepthReleasesTheOneBeforeAndSaysNothing) {
    QByteArray picture = MakeBmp(244, 40, 16);
    ASSERT_NE(LoadPicture(picture), nullptr);
    picture[28] = 24;
    const QVector<QRgb>* palette = GetBackPalette();
    EXPECT_EQ(ExitStatusOf([&] { palette = LoadPicture(picture); }), -1);
    EXPECT_EQ(palette, nullptr);
    EXPECT_EQ(GetBackBitmap(), nullptr);
    EXPECT_EQ(GetSkinFont(), nullptr);
    EXPECT_TRUE(boxes.Shown().empty());
    CSkinButton skinned;
    QPushButton plain;
    for (QPushButton* button : {static_cast<QPushButton*>(&skinned), &plain}) {
        button->setText("Edit");
        button->resize(50, 20);
    }
    EXPECT_EQ(skinned.grab().toImage(), plain.grab().toImage());
}
