#include "SkinPictures.h"

#include "BackgroundImage.h"

#include <QPixmap>

#include <algorithm>
#include <filesystem>

QByteArray MakeBmp(const BmpPicture& bmp) {
    const std::uint32_t entries = bmp.bitCount != 8     ? 0
                                  : bmp.colorsUsed == 0 ? 256
                                                        : std::min(bmp.colorsUsed, 300u);
    const int bytesPerPixel = bmp.bitCount / 8, width = std::abs(bmp.width);
    const std::uint32_t stride = (width * bytesPerPixel + 3) & ~3, rows = std::abs(bmp.height);
    const std::uint32_t pixelsAt = 54 + 4 * entries;
    QByteArray b("BM");
    for (std::uint32_t field :
         {pixelsAt + stride * rows, 0u, pixelsAt, 40u, std::uint32_t(bmp.width),
          std::uint32_t(bmp.height), 1u | std::uint32_t(bmp.bitCount) << 16, 0u, stride * rows,
          2835u, 2835u, bmp.colorsUsed, 0u})
        for (int k = 0; k < 4; ++k)
            b.append(char(field >> 8 * k & 0xFF));
    for (std::uint32_t i = 0; i < entries; ++i)
        b.append(char(0x10 + i)).append(char(0x20)).append(char(0x30)).append(char(0));
    for (std::uint32_t row = 0; row < rows; ++row)
        for (int x = 0; x < int(stride); ++x)
            b.append(
                char(x < width * bytesPerPixel ? bmp.pixel(x / bytesPerPixel, int(row)) : 0xEE));
    return b;
}

std::string ShippedSkinFolder() {
    return std::filesystem::path(QUILLOW_SKIN_PICTURE).parent_path().string() + "/";
}

QImage Rgb32(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

bool ShowsPicture(const QImage& shot, const QRect& area, const QPoint& from) {
    const QImage picture = Rgb32(GetBackBitmap()->toImage());
    return Rgb32(shot).copy(area) == picture.copy(QRect(from, area.size()));
}
