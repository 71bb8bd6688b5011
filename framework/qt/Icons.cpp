#include "Icons.h"

#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// An icon read from its PNG files each time a size of it is drawn, keeping nothing: no decoded
// copy stays in memory or in the toolkit's pixmap cache, whose flush timer would wake the
// program long after the icon was shown. Every mode and state shows the same picture; as with
// the toolkit's own icons, a size is scaled down to what is asked, never up.
class CResourceIconEngine : public QIconEngine {
public:
    // Files by size, smallest first.
    explicit CResourceIconEngine(std::vector<std::pair<int, QString>> files)
        : m_files(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        if (m_files.empty() || size.isEmpty())
            return {};
        // The smallest file at least as large as asked, else the largest.
        const auto& [fileSize, file] =
            *std::find_if(m_files.begin(), m_files.end() - 1, [&](const auto& entry) {
                return entry.first >= std::max(size.width(), size.height());
            });
        // Read as PNG: guessing the format would load every image plugin to ask it.
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        QImage image = reader.read();
        if (image.width() > size.width() || image.height() > size.height())
            image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return QPixmap::fromImage(std::move(image));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        if (m_files.empty())
            return {};
        const int side = std::min({size.width(), size.height(), m_files.back().first});
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const auto& entry : m_files)
            sizes.append(QSize(entry.first, entry.first));
        return sizes;
    }

    bool isNull() override { return m_files.empty(); }
    QString key() const override { return QStringLiteral("QuillowResource"); }
    QIconEngine* clone() const override { return new CResourceIconEngine(m_files); }

private:
    std::vector<std::pair<int, QString>> m_files;
};

} // namespace

QIcon LoadAppIcon(int id) {
    std::vector<std::pair<int, QString>> files;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QString file = QStringLiteral(":/icons/%1-%2.png").arg(id).arg(size);
        if (QFile::exists(file))
            files.emplace_back(size, std::move(file));
    }
    return QIcon(new CResourceIconEngine(std::move(files)));
}
