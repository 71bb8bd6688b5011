#include "Icons.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

QIcon LoadAppIcon(int id) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/%1-%2.png").arg(id).arg(size);
        if (!QFile::exists(file))
            continue;
        // Read as PNG: guessing the format would load every image plugin to ask it.
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
