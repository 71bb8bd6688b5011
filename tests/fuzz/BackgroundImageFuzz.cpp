// Any bytes as the skin picture: the loader returns a picture or a null image, never a crash or a
// sanitizer report. A picture it returns has the size its header states, and every pixel is the
// byte stored for it in the file.

#include "BackgroundImage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz_background_image: %s\n", what);
    std::abort();
}

std::int32_t Int32At(const std::uint8_t* data, std::size_t offset) {
    return std::int32_t(std::uint32_t(data[offset]) | std::uint32_t(data[offset + 1]) << 8 |
                        std::uint32_t(data[offset + 2]) << 16 |
                        std::uint32_t(data[offset + 3]) << 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = DecodeBackgroundImage(file);
    if (image.isNull())
        return 0;

    // Header fields at their offsets in the file; the loader never accepts fewer bytes.
    Require(size >= 54, "a picture from fewer bytes than its headers");
    const std::int32_t width = Int32At(data, 18);
    const std::int32_t storedHeight = Int32At(data, 22);
    const std::int64_t height = storedHeight < 0 ? -std::int64_t{storedHeight} : storedHeight;
    const std::uint32_t colorsUsed = std::uint32_t(Int32At(data, 46));
    Require(image.format() == QImage::Format_Indexed8, "the picture is not indexed");
    Require(image.width() == width && image.height() == height, "the size is not the header's");
    Require(image.colorCount() == 256, "the colour table does not cover every pixel value");

    const std::size_t pixelsAt = 54 + 4 * std::size_t(colorsUsed == 0 ? 256 : colorsUsed);
    const std::size_t stride = (std::size_t(width) + 3) / 4 * 4;
    for (int y = 0; y < image.height(); ++y) {
        const std::size_t row = storedHeight < 0 ? std::size_t(y) : std::size_t(height - 1 - y);
        const std::uint8_t* stored = data + pixelsAt + row * stride;
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            Require(line[x] == stored[x], "a pixel differs from its byte in the file");
    }
    // The program paints the picture on true-colour displays, where Qt converts it.
    Require(!image.convertToFormat(QImage::Format_RGB32).isNull(), "the picture does not convert");
    return 0;
}
