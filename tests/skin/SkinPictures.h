#pragma once

#include "BackgroundImage.h"
#include "TempDir.h"

#include <filesystem>

// The value of the pixel in column x of the row stored at place `row` (0: first in the file):
// every value on a row of 256, and no two faces alike within the first 400 columns.
inline int PixelValue(int x, int row) {
    return (7 * x + 13 * row) % 256;
}

// An 8-bit picture with a 40-byte information header, written byte by byte; a negative height
// stores the rows top-down. Colour entry i is stored as blue 0x10 + i, green 0x20, red 0x30, 0;
// rows are padded with 0xEE.
inline QByteArray MakeBmp(std::int32_t width, std::int32_t height, std::uint32_t colorsUsed) {
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
inline const QVector<QRgb>* LoadPicture(const QByteArray& picture, std::uintmax_t tail = 0) {
    const TempDir dir;
    WriteFileBytes(dir.File("backimg.bmp"), Bytes(picture.begin(), picture.end()));
    std::filesystem::resize_file(dir.File("backimg.bmp"), picture.size() + tail);
    return LoadBackgroundImage(dir.Path());
}
