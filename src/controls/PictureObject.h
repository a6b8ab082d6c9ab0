#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <memory>

// A picture as the button holds it: an image of one kind, its natural size
// and the bytes it is stored as. Immutable, so it can be shared between
// controls the way a picture reference is.
class PictureObject
{
public:
    enum class Kind { Bitmap = 1, Metafile = 2, Icon = 3 };

    PictureObject(const QImage &image, Kind kind, const QByteArray &bytes = QByteArray());

    // Null when the bytes hold no readable image. Icon files become icons,
    // every other image format a bitmap.
    static std::shared_ptr<const PictureObject> FromBytes(const QByteArray &bytes);

    Kind PictureKind() const { return m_kind; }
    const QImage &Image() const { return m_image; }
    QSize Size() const { return m_image.size(); }
    // In 0.01 mm, taken at the screen's resolution when the picture was made.
    QSize HimetricSize() const { return m_himetric; }
    // The bytes it was read from, or for a picture made from an image the
    // image encoded as PNG (bitmaps) or ICO (icons).
    QByteArray Bytes() const;

    // The same picture, drawn as well at twice its size for dense screens;
    // it stores and measures as before.
    std::shared_ptr<const PictureObject> WithDoubleSize(const QImage &doubled) const;
    // The picture in the pixels of a screen ratio times as dense: its own
    // drawing where it has one of that size, else the nearest one scaled
    // pixel by pixel, so that no colour appears that it does not have.
    QImage ImageAt(qreal ratio) const;

private:
    QImage m_image;
    Kind m_kind;
    QByteArray m_bytes;
    QSize m_himetric;
    QImage m_doubled;
};

using PictureRef = std::shared_ptr<const PictureObject>;
