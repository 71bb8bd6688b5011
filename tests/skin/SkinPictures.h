#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <functional>
#include <string>

// An uncompressed picture with a 40-byte information header, written byte by byte. Colour
// entry i is stored as blue 0x10 + i, green 0x20, red 0x30, 0; rows are padded with 0xEE.
struct BmpPicture {
    std::int32_t width = 4;
    std::int32_t height = 2; // negative: rows stored top-down
    std::uint16_t bitCount = 8;
    std::uint32_t colorsUsed = 16;
    // The value of the pixel in column x of the row stored at place `row` (0: first in the file).
    std::function<int(int x, int row)> pixel = [](int x, int row) { return (x + 3 * row) % 16; };
};
QByteArray MakeBmp(const BmpPicture& bmp);
inline QRgb ColourOfEntry(int i) {
    return qRgb(0x30, 0x20, (0x10 + i) & 0xFF);
}

// The folder of the shipped picture, ending in '/'.
std::string ShippedSkinFolder();
QImage Rgb32(const QImage& image);
// Whether the area of the shot shows the loaded picture's pixels from `from` on.
bool ShowsPicture(const QImage& shot, const QRect& area, const QPoint& from);
