#include "md5/clsMD5.h"

#include <QCryptographicHash>
#include <QTest>

#include <numeric>

class TestMd5 : public QObject
{
    Q_OBJECT

private slots:
    void lengthLimit()
    {
        QVERIFY(m_hasher.CalculateMD5(QString(32767, QChar(u'я'))));
        QVERIFY(!m_hasher.CalculateMD5(QString(32768, QChar(u'я'))));
    }

    void rfc1321Suite_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("digest");
        QTest::newRow("empty") << QString() << "d41d8cd98f00b204e9800998ecf8427e";
        QTest::newRow("a") << "a" << "0cc175b9c0f1b6a831c399e269772661";
        QTest::newRow("abc") << "abc" << "900150983cd24fb0d6963f7d28e17f72";
        QTest::newRow("message digest") << "message digest" << "f96b697d7cb7938d525a2f31aaf161d0";
        QTest::newRow("alphabet") << "abcdefghijklmnopqrstuvwxyz" << "c3fcd3d76192e4007dfb496cca67e13b";
        QTest::newRow("alphanumerics")
            << "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
            << "d174ab98d277d9f5a5611c2c9f419d9f";
        QTest::newRow("eight times 1234567890")
            << QStringLiteral("1234567890").repeated(8) << "57edf4a22be3c955ac49da2e2107b67a";
    }

    void rfc1321Suite()
    {
        QFETCH(QString, text);
        QFETCH(QString, digest);
        QCOMPARE(m_hasher.CalculateMD5(text).value_or("none"), digest);
        QCOMPARE(m_hasher.CalculateMD5(text).value_or("none"), digest);
    }

    // Texts and their Windows-1251 bytes side by side, so the expected digest
    // does not depend on the converter the hasher uses.
    void agreesWithQtAtEveryLength_data()
    {
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<QByteArray>("bytes");

        QByteArray ascii;
        for (char c = 0x20; c < 0x7F; ++c)
            ascii += c;
        QTest::newRow("ascii") << QString::fromLatin1(ascii) << ascii;

        QString cyrillic = QStringLiteral(u"Ёё");
        QByteArray cyrillicBytes("\xA8\xB8");
        for (int i = 0; i < 64; ++i) {
            cyrillic += QChar(char16_t(0x0410 + i));
            cyrillicBytes += char(0xC0 + i);
        }
        QTest::newRow("cyrillic") << cyrillic << cyrillicBytes;
    }

    void agreesWithQtAtEveryLength()
    {
        QFETCH(QString, alphabet);
        QFETCH(QByteArray, bytes);
        QList<int> lengths(131);
        std::iota(lengths.begin(), lengths.end(), 0);
        for (int n : lengths << 255 << 256 << 1000 << 4095 << 32767) {
            const QString text = alphabet.repeated(n / alphabet.size() + 1).left(n);
            const QByteArray message = bytes.repeated(n / bytes.size() + 1).left(n);
            const QString digest = m_hasher.CalculateMD5(text).value_or("none");
            const QByteArray expected = QCryptographicHash::hash(message, QCryptographicHash::Md5).toHex();
            QVERIFY2(digest == QLatin1String(expected), qPrintable(QStringLiteral("length %1: %2").arg(n).arg(digest)));
        }
    }

private:
    // Shared by all tests, so that every digest also shows that earlier calls
    // left nothing behind.
    clsMD5 m_hasher;
};

QTEST_APPLESS_MAIN(TestMd5)
#include "tst_md5.moc"
