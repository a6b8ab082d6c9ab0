#include "standin/SampleMaker.h"

#include <QDir>
#include <QImage>

namespace SampleMaker {

bool Make(const QString &folder, int count, int width, int height, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (int n = 1; n <= count; ++n) {
        QImage image(width, height, QImage::Format_RGB32);
        // A different diagonal gradient and ring pattern for every picture,
        // so no two samples share their bytes.
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int dx = x - width / 2;
                const int dy = y - height / 2;
                const int ring = ((dx * dx + dy * dy) / (64 * n)) % 2;
                line[x] = qRgb((x * 255 / width + 37 * n) % 256,
                               (y * 255 / height + 71 * n) % 256,
                               ring ? 220 : (29 * n) % 256);
            }
        }
        const QString path = QDir(folder).filePath(QStringLiteral("sample%1.jpg").arg(n, 3, 10, QLatin1Char('0')));
        if (!image.save(path, "JPEG", 85)) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}

}
