#pragma once

// The display's colour count from its bits per pixel; 257 stands for more than 256 colours.
inline constexpr int kColorsMany = 257;

constexpr int DisplayColorsForDepth(int bitsPerPixel) {
    return (bitsPerPixel > 0 && bitsPerPixel <= 8) ? 1 << bitsPerPixel : kColorsMany;
}
