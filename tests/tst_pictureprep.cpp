#include "pictures/JpegSegments.h"
#include "pictures/PicturePreparation.h"

#include <exiv2/exiv2.hpp>

#include <QBuffer>
#include <QImage>
#include <QMap>
#include <QtTest>

namespace {

QByteArray Jpeg()
{
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) * 2));
    }
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    image.save(&bytes, "JPG", 90);
    return bytes.data();
}

// A camera's photo: make, model, date, orientation 6, a colour profile, and
// where it was taken when asked.
QByteArray Photo(bool located)
{
    const QByteArray plain = Jpeg();
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

// Comment segments before the EXIF block, so that it lies beyond the head
// read first.
QByteArray AfterLongComments(const QByteArray &jpeg)
{
    QByteArray comments;
    for (int i = 0; i < 5; ++i)
        comments += QByteArray("\xFF\xFE\xEA\x60", 4) + QByteArray(60000 - 2, 'x');
    return jpeg.left(2) + comments + jpeg.mid(2);
}

// An EXIF segment whose first directory runs past its end.
QByteArray Garbled(const QByteArray &jpeg)
{
    const QByteArray tiff = QByteArray("MM\0\x2A\0\0\0\x08\0\x02", 10) + QByteArray(4, '\xFF');
    const QByteArray segment
        = QByteArray("\xFF\xE1\0", 3) + char(2 + 6 + tiff.size()) + QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

PicturePreparation::Outcome Prepared(const QByteArray &picture, bool keepLocation, qint64 *position)
{
    QBuffer file;
    file.setData(picture);
    file.open(QIODevice::ReadOnly);
    const PicturePreparation::Outcome outcome = PicturePreparation({keepLocation}).Prepare(file, picture.size());
    *position = file.pos();
    return outcome;
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
        QTest::newRow("located, the member keeps the location") << located << true << false;
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
        QCOMPARE(AllButExif(outcome.bytes), AllButExif(picture));
        QMap<QString, QString> expected = Tags(picture);
        QVERIFY(expected.contains("Exif.GPSInfo.GPSLatitude") && expected.contains("Exif.Image.GPSTag"));
        for (const QString &key : expected.keys()) {
            if (key.startsWith("Exif.GPSInfo.") || key == "Exif.Image.GPSTag")
                expected.remove(key);
        }
        // Where the camera's own directory lies moves with the block's new layout.
        QMap<QString, QString> kept = Tags(outcome.bytes);
        QVERIFY(kept.contains("Exif.Image.ExifTag"));
        kept["Exif.Image.ExifTag"] = expected["Exif.Image.ExifTag"];
        QCOMPARE(kept, expected);
    }
};

QTEST_GUILESS_MAIN(TestPicturePreparation)
#include "tst_pictureprep.moc"
