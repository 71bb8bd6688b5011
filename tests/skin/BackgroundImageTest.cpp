#include "ExitTrap.h"
#include "MessageBoxRecorder.h"
#include "SkinButton.h"
#include "SkinPictures.h"

#include <sys/resource.h>

#include <climits>
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

// Rows of 245 are padded to 248; values beyond a table of 16 colours show black. Only the bytes
// the header names are read: a gigabyte after them is never touched.
TEST_F(BackgroundImageTest, PixelsComeOutUprightInTheTablesColours) {
    for (const auto& [width, height, colorsUsed] :
         {std::tuple{244, 40, 0u}, {245, 40, 16u}, {245, -41, 0u}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height << ", " << colorsUsed);
        const long peakBefore = PeakMemoryKiB();
        const QVector<QRgb>* palette = LoadPicture(MakeBmp(width, height, colorsUsed), 1ULL << 30);
        EXPECT_LT(PeakMemoryKiB() - peakBefore, 64 * 1024) << "KiB more at the peak";
        ASSERT_NE(palette, nullptr);
        const int colours = colorsUsed == 0 ? 256 : 16, rows = std::abs(height);
        EXPECT_EQ(palette->size(), colours);
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
TEST_F(BackgroundImageTest, PictureThatCannotServeLeavesPlainButtons) {
    const QByteArray good = MakeBmp(244, 40, 16); // 54 + 64 + 40 x 244 bytes
    // A file cut short, or the bit count, the colours used, the width or the height changed in a
    // file with bytes enough for any size; only sizes from the skin's map to 4096 serve.
    std::vector<std::pair<QByteArray, bool>> pictures = {
        {good.left(53), false}, {good.left(54 + 63), false}, {good.left(good.size() - 1), false}};
    for (const auto& [offset, value, serves] : {std::tuple{18, 4096, true},
                                                {22, -4096, true},
                                                {28, 24, false},
                                                {46, 257, false},
                                                {46, INT32_MIN, false},
                                                {18, 0, false},
                                                {18, 4097, false},
                                                {22, -4097, false},
                                                {18, 243, false},
                                                {22, -39, false}}) {
        QByteArray file = good + QByteArray(4096 * 244, '\0');
        for (int k = 0; k < 4; ++k)
            file[offset + k] = char(value >> 8 * k);
        pictures.emplace_back(file, serves);
    }
    EXPECT_EQ(ExitStatusOf([&] {
                  for (const auto& [picture, serves] : pictures) {
                      ASSERT_NE(LoadPicture(good), nullptr);
                      EXPECT_EQ(LoadPicture(picture) != nullptr, serves) << picture.size();
                      EXPECT_EQ(GetBackBitmap() != nullptr, serves);
                  }
              }),
              -1);
    EXPECT_TRUE(boxes.Shown().empty());
    CSkinButton skinned;
    QPushButton plain;
    for (QPushButton* button : {static_cast<QPushButton*>(&skinned), &plain}) {
        button->setText("Edit");
        button->resize(50, 20);
    }
    EXPECT_EQ(skinned.grab().toImage(), plain.grab().toImage());
}

TEST_F(BackgroundImageTest, MissingPictureEndsTheProgramAfterItsMessage) {
    EXPECT_EQ(ExitStatusOf([] { LoadBackgroundImage("/nonexistent/folder/"); }), 1);
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"'backimg.bmp' file not found"});
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
}
