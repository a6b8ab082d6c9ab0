#include "standin/Thumbnail.h"

#include <QBuffer>
#include <QImage>

namespace Thumbnail {

std::optional<QByteArray> Make(const QByteArray &picture)
{
    const QImage image = QImage::fromData(picture);
    if (image.isNull())
        return std::nullopt;
    const QImage small = image.width() > MaxSide || image.height() > MaxSide
        ? image.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        : image;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!small.save(&buffer, "JPG", 80))
        return std::nullopt;
    return jpeg;
}

}
