// Any bytes as the skin picture: the loader returns a null image, or an indexed picture of the
// size its header states that the program can paint; never a crash or a sanitizer report.

#include "BackgroundImage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QImage image =
        DecodeBackgroundImage(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    // The width and the height at their offsets in the file; rows may be stored top down.
    const auto int32At = [&](std::size_t i) {
        return std::int32_t(data[i] | data[i + 1] << 8 | data[i + 2] << 16 |
                            std::uint32_t(data[i + 3]) << 24);
    };
    if (!image.isNull() &&
        (size < 54 || image.format() != QImage::Format_Indexed8 || image.width() != int32At(18) ||
         image.height() != std::abs(int32At(22)) ||
         image.convertToFormat(QImage::Format_RGB32).isNull()))
        std::abort();
    return 0;
}
