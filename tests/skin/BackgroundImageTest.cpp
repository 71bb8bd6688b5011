#include "BackgroundImage.h"
#include "ExitTrap.h"
#include "MessageBoxRecorder.h"
#include "SkinPictures.h"
#include "TempDir.h"

#include <QPixmap>
#include <climits>
#include <gtest/gtest.h>

namespace {

class BackgroundImageTest : public ::testing::Test {
protected:
    void TearDown() override { FreeBackgroundImage(); }

    // Writes the picture as backimg.bmp in the program folder and loads it.
    const QVector<QRgb>* Load(const QByteArray& picture) {
        WriteFileBytes(dir.File("backimg.bmp"), Bytes(picture.begin(), picture.end()));
        return LoadBackgroundImage(dir.Path());
    }

    TempDir dir;
    MessageBoxRecorder boxes;
};

} // namespace

TEST_F(BackgroundImageTest, ColourTableHoldsTheEntriesItNamesAndTheRowsFollowIt) {
    for (const int colorsUsed : {0, 16}) {
        SCOPED_TRACE(::testing::Message() << "biClrUsed " << colorsUsed);
        const int colours = colorsUsed == 0 ? 256 : 16;
        // With 16 colours some values lie beyond the table.
        const BmpPicture bmp{.width = 8,
                             .height = 3,
                             .colorsUsed = std::uint32_t(colorsUsed),
                             .pixel = [=](int x, int row) { return (5 * x + 7 * row + 1) % 20; }};
        const QImage decoded = DecodeBackgroundImage(MakeBmp(bmp));
        const QVector<QRgb>* palette = Load(MakeBmp(bmp));
        ASSERT_FALSE(decoded.isNull());
        ASSERT_NE(palette, nullptr);
        EXPECT_EQ(palette->size(), colours);
        EXPECT_EQ(palette->front(), qRgb(0x30, 0x20, 0x10)) << "stored 0x10, 0x20, 0x30, 0x00";
        EXPECT_EQ(palette->back(), ColourOfEntry(colours - 1));
        const QImage shown = GetBackBitmap()->toImage();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 8; ++x) {
                const int value = bmp.pixel(x, 2 - y);
                const QRgb colour = value < colours ? ColourOfEntry(value) : qRgb(0, 0, 0);
                EXPECT_EQ(decoded.pixelIndex(x, y), value) << x << ", " << y;
                EXPECT_EQ(decoded.pixel(x, y), colour) << x << ", " << y;
                EXPECT_EQ(shown.pixel(x, y), colour) << x << ", " << y;
            }
    }
}

TEST_F(BackgroundImageTest, RowsAreReadWithTheirPaddingInEitherOrder) {
    for (const auto& [width, height] : {std::pair{244, 3}, {245, 3}, {245, -3}, {3, 2}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        const BmpPicture bmp{.width = width,
                             .height = height,
                             .colorsUsed = 0,
                             .pixel = [](int x, int row) { return (x + 101 * row) % 256; }};
        const QImage image = DecodeBackgroundImage(MakeBmp(bmp));
        const int rows = std::abs(height);
        ASSERT_EQ(image.size(), QSize(width, rows));
        int wrong = 0;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x)
                wrong += image.pixelIndex(x, y) != bmp.pixel(x, height < 0 ? y : rows - 1 - y);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(BackgroundImageTest, PicturesThatCannotServeDecodeToNothing) {
    const QByteArray good = MakeBmp({.width = 5, .height = 3}); // 54 + 64 + 3 x 8 bytes
    ASSERT_FALSE(DecodeBackgroundImage(good).isNull());
    // Header fields changed in a file with bytes enough for any size.
    const struct {
        int offset;
        std::int32_t value;
    } fields[] = {{28, 24},   {46, 257}, {46, INT32_MIN}, {18, 0},    {18, -5},
                  {18, 4097}, {22, 0},   {22, 4097},      {22, -4097}};
    for (const auto& f : fields) {
        QByteArray file = good + QByteArray(40000, '\0');
        for (int k = 0; k < 4; ++k)
            file[f.offset + k] = char(f.value >> 8 * k);
        EXPECT_TRUE(DecodeBackgroundImage(file).isNull()) << f.value << " at " << f.offset;
    }
    for (const int kept : {10, 40, 53, 54, 54 + 63, 54 + 64, int(good.size()) - 1})
        EXPECT_TRUE(DecodeBackgroundImage(good.left(kept)).isNull()) << kept << " bytes";
}

TEST_F(BackgroundImageTest, MissingPictureEndsTheProgramAfterItsMessage) {
    EXPECT_EQ(ExitStatusOf([] { LoadBackgroundImage("/nonexistent/folder/"); }), 1);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "'backimg.bmp' file not found");
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
    EXPECT_EQ(GetBackBitmap(), nullptr);
}

TEST_F(BackgroundImageTest, PictureOfOtherDepthLeavesTheProgramWithoutSkinAndSaysNothing) {
    ASSERT_NE(LoadBackgroundImage(ShippedSkinFolder()), nullptr);
    const QByteArray picture = MakeBmp({.width = 5, .height = 3, .bitCount = 24, .colorsUsed = 0});
    EXPECT_TRUE(DecodeBackgroundImage(picture).isNull());
    const QVector<QRgb>* palette = GetBackPalette();
    EXPECT_EQ(ExitStatusOf([&] { palette = Load(picture); }), -1);
    EXPECT_EQ(palette, nullptr);
    EXPECT_EQ(GetBackBitmap(), nullptr) << "the earlier picture is released";
    EXPECT_EQ(GetSkinFont(), nullptr);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(BackgroundImageTest, ShippedPictureLoads) {
    EXPECT_NE(LoadBackgroundImage(ShippedSkinFolder()), nullptr);
    ASSERT_NE(GetBackBitmap(), nullptr);
    EXPECT_EQ(GetBackBitmap()->size(), QSize(244, 40));
}
