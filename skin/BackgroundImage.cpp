#include "BackgroundImage.h"

#include "ByteOrder.h"
#include "Exit.h"
#include "MessageBox.h"

#include <QFile>
#include <QPainter>

#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr int kLargestSide = 4096;
// Every piece of the skin lies within the picture's first 244 x 40 pixels.
constexpr int kSkinMapWidth = 244;
constexpr int kSkinMapHeight = 40;

std::unique_ptr<QVector<QRgb>> g_pBackPalette;
// The picture as a pixmap, ready to paint from (the name is the framework's bitmap handle's).
std::unique_ptr<QPixmap> g_hBackBitmap;
std::unique_ptr<QFont> g_pSkinFont;

// The file's bytes from offset on; the caller has made sure that they are there.
const std::uint8_t* BytesAt(const QByteArray& file, std::int64_t offset) {
    return reinterpret_cast<const std::uint8_t*>(file.constData()) + offset;
}

// The colours of the picture's table: its count of colours used, where 0 means all 256.
std::uint32_t ColorCount(const QByteArray& file) {
    const auto used = static_cast<std::uint32_t>(GetInt32(BytesAt(file, kFileHeaderSize + 32)));
    return used == 0 ? 256 : used;
}

// What the headers say of the picture, when it can serve as the skin.
struct PictureLayout {
    int width = 0, height = 0;
    bool topDown = false;
    std::uint32_t colors = 0;
    std::int64_t pixelsAt = 0, stride = 0;
    std::int64_t Size() const { return pixelsAt + stride * height; }
};

std::optional<PictureLayout> ReadLayout(const QByteArray& file) {
    if (file.size() < kHeadersSize)
        return std::nullopt;
    const std::int32_t width = GetInt32(BytesAt(file, kFileHeaderSize + 4));
    const std::int32_t storedHeight = GetInt32(BytesAt(file, kFileHeaderSize + 8));
    const int bitCount = GetInt16(BytesAt(file, kFileHeaderSize + 14));
    const std::int64_t height = storedHeight < 0 ? -std::int64_t{storedHeight} : storedHeight;
    PictureLayout layout;
    layout.colors = ColorCount(file);
    if (bitCount != 8 || layout.colors > 256 || width < kSkinMapWidth || width > kLargestSide ||
        height < kSkinMapHeight || height > kLargestSide)
        return std::nullopt;
    layout.width = width;
    layout.height = static_cast<int>(height);
    layout.topDown = storedHeight < 0;
    layout.stride = (std::int64_t{width} + 3) & ~std::int64_t{3};
    layout.pixelsAt = kHeadersSize + 4 * std::int64_t{layout.colors};
    return layout;
}

} // namespace

std::int64_t BackgroundImageBytes(const QByteArray& headers) {
    const std::optional<PictureLayout> layout = ReadLayout(headers);
    return layout ? layout->Size() : -1;
}

QImage DecodeBackgroundImage(const QByteArray& file) {
    const std::optional<PictureLayout> layout = ReadLayout(file);
    if (!layout || file.size() < layout->Size())
        return {};
    const int width = layout->width, height = layout->height;
    const std::uint32_t colors = layout->colors;
    const std::int64_t pixelsAt = layout->pixelsAt, stride = layout->stride;
    const bool topDown = layout->topDown;
    QImage image(width, height, QImage::Format_Indexed8);
    QVector<QRgb> table(256, qRgb(0, 0, 0));
    for (std::uint32_t i = 0; i < colors; ++i) {
        const std::uint8_t* entry = BytesAt(file, kHeadersSize + 4 * std::int64_t{i});
        table[static_cast<int>(i)] = qRgb(entry[2], entry[1], entry[0]);
    }
    image.setColorTable(table);
    for (int row = 0; row < height; ++row) {
        const int stored = topDown ? row : height - 1 - row;
        std::memcpy(image.scanLine(row), file.constData() + pixelsAt + stride * stored,
                    static_cast<std::size_t>(width));
    }
    return image;
}

const QVector<QRgb>* LoadBackgroundImage(const std::string& programFolder) {
    FreeBackgroundImage();
    g_pBackPalette = std::make_unique<QVector<QRgb>>();
    // Opened by the path's bytes: a folder whose name is not UTF-8 has no QString of its own.
    QFile file;
    const int fd = ::open((programFolder + "backimg.bmp").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        ::close(fd);
    if (!file.isOpen()) {
        AfxMessageBox("'backimg.bmp' file not found", MB_ICONEXCLAMATION);
        ExitProgram(1);
    }
    // Only the bytes that the headers say the picture needs are read, whatever the file's length.
    QByteArray bytes = file.read(kHeadersSize);
    const std::int64_t size = BackgroundImageBytes(bytes);
    if (size > kHeadersSize)
        bytes += file.read(size - kHeadersSize);
    const QImage picture = DecodeBackgroundImage(bytes);
    if (picture.isNull())
        return nullptr;
    *g_pBackPalette = picture.colorTable().mid(0, static_cast<int>(ColorCount(bytes)));
    g_hBackBitmap = std::make_unique<QPixmap>(QPixmap::fromImage(picture));
    g_pSkinFont = std::make_unique<QFont>(QStringLiteral("Arial"));
    g_pSkinFont->setPixelSize(10);
    // The captions are short Latin words that draw the same unshaped; shaping them would cost a
    // second HarfBuzz set-up at the first paint.
    g_pSkinFont->setStyleStrategy(QFont::PreferNoShaping);
    return g_pBackPalette.get();
}

void FreeBackgroundImage() {
    g_pSkinFont.reset();
    g_hBackBitmap.reset();
    g_pBackPalette.reset();
}

const QPixmap* GetBackBitmap() {
    return g_hBackBitmap.get();
}
const QFont* GetSkinFont() {
    return g_pSkinFont.get();
}

bool CopyFromBackground(QPainter& painter, const QPoint& to, const QRect& from) {
    if (!g_hBackBitmap)
        return false;
    painter.drawPixmap(to, *g_hBackBitmap, from);
    return true;
}
