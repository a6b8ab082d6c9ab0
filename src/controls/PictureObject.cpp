#include "controls/PictureObject.h"

#include "controls/XpBLayout.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QScreen>

namespace {

qreal ScreenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int PixelsToHimetric(int pixels, qreal dpi)
{
    return XpBLayout::RoundHalfEven(pixels * 2540.0 / dpi);
}

}

PictureObject::PictureObject(const QImage &image, Kind kind, const QByteArray &bytes)
    : m_image(image.convertToFormat(QImage::Format_ARGB32))
    , m_kind(kind)
    , m_bytes(bytes)
{
    const qreal dpi = ScreenDpi();
    m_himetric = QSize(PixelsToHimetric(m_image.width(), dpi), PixelsToHimetric(m_image.height(), dpi));
}

std::shared_ptr<const PictureObject> PictureObject::FromBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const bool icon = reader.format() == "ico";
    const QImage image = reader.read();
    if (image.isNull())
        return nullptr;
    return std::make_shared<const PictureObject>(image, icon ? Kind::Icon : Kind::Bitmap, bytes);
}

QByteArray PictureObject::Bytes() const
{
    if (!m_bytes.isEmpty() || m_image.isNull())
        return m_bytes;
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, m_kind == Kind::Icon ? "ico" : "png");
    writer.write(m_image);
    return encoded;
}

std::shared_ptr<const PictureObject> PictureObject::WithDoubleSize(const QImage &doubled) const
{
    auto copy = std::make_shared<PictureObject>(*this);
    copy->m_doubled = doubled.convertToFormat(QImage::Format_ARGB32);
    copy->m_doubled.setDevicePixelRatio(1.0);
    return copy;
}

QImage PictureObject::ImageAt(qreal ratio) const
{
    const QSize wanted(XpBLayout::RoundHalfEven(m_image.width() * ratio),
                       XpBLayout::RoundHalfEven(m_image.height() * ratio));
    if (wanted == m_image.size() || wanted.isEmpty())
        return m_image;
    const QImage &nearest = !m_doubled.isNull() && ratio > 1.0 ? m_doubled : m_image;
    if (wanted == nearest.size())
        return nearest;
    return nearest.scaled(wanted, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
