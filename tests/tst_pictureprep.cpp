#include "pictures/JpegSegments.h"
#include "pictures/PicturePreparation.h"

#include <exiv2/exiv2.hpp>

#include <QBuffer>
#include <QImage>
#include <QMap>
#include <QtTest>

#include <cmath>

namespace {

// Smooth shades with a sharp edge: the left half warm, the right half cool.
QImage Scene(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int shade = 255 * (x + y) / (width + height);
            image.setPixel(x, y, x < width / 2 ? qRgb(200, shade, 40) : qRgb(30, shade, 210));
        }
    }
    return image;
}

QByteArray Jpeg(int width = 64, int height = 48)
{
    const QImage image = Scene(width, height);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    image.save(&bytes, "JPG", 90);
    return bytes.data();
}

// A camera's photo: make, model, date, orientation 6, a colour profile, and
// where it was taken when asked.
QByteArray Photo(bool located, int width = 64, int height = 48)
{
    const QByteArray plain = Jpeg(width, height);
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(plain.constData()), plain.size());
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Test Camera";
    exif["Exif.Image.Model"] = "T-1";
    exif["Exif.Image.Orientation"] = uint16_t(6);
    exif["Exif.Photo.DateTimeOriginal"] = "2026:12:08 10:00:00";
    if (located) {
        exif["Exif.GPSInfo.GPSVersionID"].setValue("2 2 0 0");
        exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
        exif["Exif.GPSInfo.GPSLatitude"].setValue("55/1 45/1 2100/100");
        exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
        exif["Exif.GPSInfo.GPSLongitude"].setValue("37/1 37/1 1800/100");
    }
    image->setExifData(exif);
    // The profile's header as the library checks it: its size, and "acsp".
    QByteArray icc(600, 'c');
    icc.replace(0, 4, QByteArray("\0\0\x02\x58", 4));
    icc.replace(36, 4, "acsp");
    Exiv2::DataBuf profile(reinterpret_cast<const Exiv2::byte *>(icc.constData()), long(icc.size()));
    image->setIccProfile(profile, false);
    image->writeMetadata();
    Exiv2::BasicIo &io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf written = io.read(long(io.size()));
    return QByteArray(reinterpret_cast<const char *>(written.pData_), int(written.size_));
}

// A block as a command-line EXIF tool writes it into a JPEG that had none:
// the location and nothing else, so nothing is left once it goes.
QByteArray LocationAlone()
{
    const QByteArray segment = QByteArray::fromHex(
        "ffe1005845786966000049492a0008000000010025880400010000001a00000000000000020001000200020000004e00"
        "00000200050003000000380000000000000037000000010000002d000000010000003408000064000000");
    const QByteArray jpeg = Jpeg();
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QMap<QString, QString> Tags(const QByteArray &jpeg)
{
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(jpeg.constData()), jpeg.size());
    image->readMetadata();
    QMap<QString, QString> tags;
    for (const Exiv2::Exifdatum &datum : image->exifData())
        tags.insert(QString::fromStdString(datum.key()), QString::fromStdString(datum.toString()));
    return tags;
}

// The file without its EXIF segment: what must stay byte for byte.
QByteArray AllButExif(const QByteArray &jpeg)
{
    const auto exif = JpegSegments(jpeg).Exif();
    return exif ? jpeg.left(exif->start) + jpeg.mid(exif->start + exif->size) : jpeg;
}

QByteArray LongComments()
{
    QByteArray comments;
    for (int i = 0; i < 5; ++i)
        comments += QByteArray("\xFF\xFE\xEA\x60", 4) + QByteArray(60000 - 2, 'x');
    return comments;
}

// Comment segments before the EXIF block, so that it lies beyond the head
// read first, or after it, so that the head holds it and the file goes on.
QByteArray AfterLongComments(const QByteArray &jpeg) { return jpeg.left(2) + LongComments() + jpeg.mid(2); }

QByteArray BeforeLongComments(const QByteArray &jpeg)
{
    const auto exif = JpegSegments(jpeg).Exif();
    const qsizetype end = exif->start + exif->size;
    return jpeg.left(end) + LongComments() + jpeg.mid(end);
}

// An EXIF segment whose first directory runs past its end.
QByteArray Garbled(const QByteArray &jpeg)
{
    const QByteArray tiff = QByteArray("MM\0\x2A\0\0\0\x08\0\x02", 10) + QByteArray(4, '\xFF');
    const QByteArray segment
        = QByteArray("\xFF\xE1\0", 3) + char(2 + 6 + tiff.size()) + QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

PicturePreparation::Outcome Prepared(const QByteArray &picture, bool keepLocation, qint64 *position, int maxSide = 0)
{
    QBuffer file;
    file.setData(picture);
    file.open(QIODevice::ReadOnly);
    const PicturePreparation::Outcome outcome
        = PicturePreparation({keepLocation, maxSide, 90}).Prepare(file, picture.size());
    *position = file.pos();
    return outcome;
}

QByteArray ProfileOf(const QByteArray &jpeg)
{
    QByteArray profile;
    const JpegSegments segments(jpeg);
    for (const JpegSegments::Segment &segment : segments.Segments()) {
        if (segment.marker == 0xE2)
            profile += jpeg.mid(segment.start, segment.size);
    }
    return profile;
}

double Psnr(const QImage &a, const QImage &b)
{
    double error = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                error += d * d;
        }
    }
    error /= 3.0 * a.width() * a.height();
    return error == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / error);
}

// A small JPEG whose frame claims a size no one could decode.
QByteArray ClaimingHuge()
{
    QByteArray jpeg = Jpeg();
    const JpegSegments segments(jpeg);
    for (const JpegSegments::Segment &segment : segments.Segments()) {
        if (segment.marker == 0xC0)
            jpeg.replace(segment.start + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    }
    return jpeg;
}

}

class TestPicturePreparation : public QObject
{
    Q_OBJECT

private slots:
    // A located photo goes without its location and with everything else:
    // the other tags, the colour profile and the picture data, byte for
    // byte. Anything else goes exactly as the file holds it.
    void locationRemoved_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<bool>("keepLocation");
        QTest::addColumn<bool>("removed");
        const QByteArray located = Photo(true);
        QTest::newRow("a located photo") << located << false << true;
        QTest::newRow("located, its EXIF beyond the first look") << AfterLongComments(located) << false << true;
        QTest::newRow("located, larger than the first look") << BeforeLongComments(located) << false << true;
        QTest::newRow("located, the member keeps the location") << located << true << false;
        QTest::newRow("the location alone") << LocationAlone() << false << true;
        QTest::newRow("a photo without a location") << Photo(false) << false << false;
        QTest::newRow("a JPEG without EXIF") << Jpeg() << false << false;
        QTest::newRow("no JPEG at all") << QByteArray("\xFF\xD8 not really", 13) << false << false;
        QTest::newRow("an EXIF block that holds nothing readable") << Garbled(Jpeg()) << false << false;
    }

    void locationRemoved()
    {
        QFETCH(QByteArray, picture);
        QFETCH(bool, keepLocation);
        QFETCH(bool, removed);
        qint64 position = -1;
        const PicturePreparation::Outcome outcome = Prepared(picture, keepLocation, &position);
        if (!removed) {
            QCOMPARE(outcome.result, PicturePreparation::Result::AsItIs);
            // Whole as read, or the file ready to be read again.
            QVERIFY(outcome.bytes.isNull() ? position == 0 : outcome.bytes == picture);
            return;
        }
        QCOMPARE(outcome.result, PicturePreparation::Result::Prepared);
        QCOMPARE(outcome.done, QStringLiteral("location removed"));
        const QByteArray sent = outcome.restFrom < 0 ? outcome.bytes : outcome.bytes + picture.mid(outcome.restFrom);
        QCOMPARE(AllButExif(sent), AllButExif(picture));
        QMap<QString, QString> expected = Tags(picture);
        QVERIFY(expected.contains("Exif.GPSInfo.GPSLatitude") && expected.contains("Exif.Image.GPSTag"));
        for (const QString &key : expected.keys()) {
            if (key.startsWith("Exif.GPSInfo.") || key == "Exif.Image.GPSTag")
                expected.remove(key);
        }
        // Where the camera's own directory lies moves with the block's new layout.
        QMap<QString, QString> kept = Tags(sent);
        QCOMPARE(kept.contains("Exif.Image.ExifTag"), expected.contains("Exif.Image.ExifTag"));
        if (kept.contains("Exif.Image.ExifTag"))
            kept["Exif.Image.ExifTag"] = expected["Exif.Image.ExifTag"];
        QCOMPARE(kept, expected);
    }

    // Larger than the limit: turned upright, resized so that the longer
    // shown side is the limit, like a careful resize of the original, with
    // its camera tags and profile but not its location. Within it, or
    // unreadable, or too large to decode: as it is, or passed over.
    void shrunk()
    {
        const QByteArray photo = Photo(true, 1200, 800);
        qint64 position = -1;
        const PicturePreparation::Outcome outcome = Prepared(photo, false, &position, 300);
        QCOMPARE(outcome.result, PicturePreparation::Result::Prepared);
        QCOMPARE(outcome.done, QStringLiteral("location removed, shrunk 800×1200 → 200×300"));
        const QImage shrunk = QImage::fromData(outcome.bytes, "JPG");
        QCOMPARE(shrunk.size(), QSize(200, 300));
        const QImage reference = Scene(1200, 800)
                                     .transformed(QTransform().rotate(90))
                                     .scaled(200, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(Psnr(shrunk, reference) > 30, qPrintable(QString::number(Psnr(shrunk, reference))));
        const QMap<QString, QString> tags = Tags(outcome.bytes);
        QCOMPARE(tags.value("Exif.Image.Orientation"), QStringLiteral("1"));
        QCOMPARE(tags.value("Exif.Image.Make"), QStringLiteral("Test Camera"));
        QVERIFY(!tags.contains("Exif.GPSInfo.GPSLatitude") && !tags.contains("Exif.Image.GPSTag"));
        QCOMPARE(ProfileOf(outcome.bytes), ProfileOf(photo));
        QVERIFY(!ProfileOf(photo).isEmpty());

        QCOMPARE(Prepared(Photo(false, 120, 80), false, &position, 300).result, PicturePreparation::Result::AsItIs);
        for (const QByteArray &unusable : {QByteArray("\xFF\xD8 not really", 13), ClaimingHuge()}) {
            const PicturePreparation::Outcome refused = Prepared(unusable, false, &position, 300);
            QCOMPARE(refused.result, PicturePreparation::Result::Unusable);
            QVERIFY(!refused.why.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestPicturePreparation)
#include "tst_pictureprep.moc"
