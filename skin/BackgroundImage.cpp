#include "BackgroundImage.h"

#include "ByteOrder.h"
#include "Exit.h"
#include "MessageBox.h"

#include <QFile>
#include <QPainter>

#include <cstring>
#include <memory>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kLargestSide = 4096;

std::unique_ptr<QVector<QRgb>> g_pBackPalette;
std::unique_ptr<QPixmap> g_hBackBitmap;
std::unique_ptr<QFont> g_pSkinFont;

// The file's bytes from offset on; the caller has made sure that they are there.
const std::uint8_t* BytesAt(const QByteArray& file, std::int64_t offset) {
    return reinterpret_cast<const std::uint8_t*>(file.constData()) + offset;
}

} // namespace

QImage DecodeBackgroundImage(const QByteArray& file) {
    constexpr int headers = kFileHeaderSize + kInfoHeaderSize;
    if (file.size() < headers)
        return {};
    const std::int32_t width = GetInt32(BytesAt(file, kFileHeaderSize + 4));
    const std::int32_t storedHeight = GetInt32(BytesAt(file, kFileHeaderSize + 8));
    const int bitCount = GetInt16(BytesAt(file, kFileHeaderSize + 14));
    const auto colorsUsed =
        static_cast<std::uint32_t>(GetInt32(BytesAt(file, kFileHeaderSize + 32)));
    const bool topDown = storedHeight < 0;
    const std::int64_t height = topDown ? -std::int64_t{storedHeight} : storedHeight;
    const std::uint32_t colors = colorsUsed == 0 ? 256 : colorsUsed;
    if (bitCount != 8 || colors > 256 || width <= 0 || width > kLargestSide || height == 0 ||
        height > kLargestSide)
        return {};
    const std::int64_t stride = (std::int64_t{width} + 3) & ~std::int64_t{3};
    const std::int64_t pixelsAt = headers + 4 * std::int64_t{colors};
    if (file.size() < pixelsAt + stride * height)
        return {};

    QImage image(width, static_cast<int>(height), QImage::Format_Indexed8);
    QVector<QRgb> table(256, qRgb(0, 0, 0));
    for (std::uint32_t i = 0; i < colors; ++i) {
        const std::uint8_t* entry = BytesAt(file, headers + 4 * std::int64_t{i});
        table[static_cast<int>(i)] = qRgb(entry[2], entry[1], entry[0]);
    }
    image.setColorTable(table);
    for (int row = 0; row < height; ++row) {
        const int stored = topDown ? row : static_cast<int>(height) - 1 - row;
        std::memcpy(image.scanLine(row), file.constData() + pixelsAt + stride * stored,
                    static_cast<std::size_t>(width));
    }
    return image;
}

const QVector<QRgb>* LoadBackgroundImage(const std::string& programFolder) {
    FreeBackgroundImage();
    g_pBackPalette = std::make_unique<QVector<QRgb>>();
    QFile file(QString::fromStdString(programFolder + "backimg.bmp"));
    if (!file.open(QIODevice::ReadOnly)) {
        AfxMessageBox("'backimg.bmp' file not found", MB_ICONEXCLAMATION);
        ExitProgram(1);
    }
    const QByteArray bytes = file.readAll();
    const QImage picture = DecodeBackgroundImage(bytes);
    if (picture.isNull())
        return nullptr;
    const auto colorsUsed =
        static_cast<std::uint32_t>(GetInt32(BytesAt(bytes, kFileHeaderSize + 32)));
    *g_pBackPalette = picture.colorTable().mid(0, colorsUsed == 0 ? 256 : int(colorsUsed));
    g_hBackBitmap = std::make_unique<QPixmap>(QPixmap::fromImage(picture));
    g_pSkinFont = std::make_unique<QFont>(QStringLiteral("Arial"));
    g_pSkinFont->setPixelSize(10);
    return g_pBackPalette.get();
}

void FreeBackgroundImage() {
    g_pSkinFont.reset();
    g_hBackBitmap.reset();
    g_pBackPalette.reset();
}

const QVector<QRgb>* GetBackPalette() {
    return g_pBackPalette.get();
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
