#include "md5/clsMD5.h"

#include <QCryptographicHash>
#include <QTest>

#include <numeric>

class TestMd5 : public QObject
{
    Q_OBJECT

private slots:
    // Every length up to past two blocks, so each padding boundary is met, up
    // to the longest text the hasher takes; one hasher for all, so that each
    // digest also shows that earlier calls left nothing behind.
    void agreesWithQtAtEveryLength()
    {
        // The text and its Windows-1251 bytes side by side, so the expected
        // digest does not depend on the converter the hasher uses.
        QString alphabet = QStringLiteral(u"Az 09~Ёё");
        QByteArray bytes("Az 09~\xA8\xB8");
        for (int i = 0; i < 64; ++i) {
            alphabet += QChar(char16_t(0x0410 + i));
            bytes += char(0xC0 + i);
        }
        clsMD5 hasher;
        QList<int> lengths(131);
        std::iota(lengths.begin(), lengths.end(), 0);
        for (int n : lengths << 255 << 256 << 1000 << 4095 << 32767) {
            const QString text = alphabet.repeated(n / alphabet.size() + 1).left(n);
            const QByteArray message = bytes.repeated(n / bytes.size() + 1).left(n);
            const QString digest = hasher.CalculateMD5(text).value_or("none");
            const QByteArray expected = QCryptographicHash::hash(message, QCryptographicHash::Md5).toHex();
            QVERIFY2(digest == QLatin1String(expected), qPrintable(QStringLiteral("length %1: %2").arg(n).arg(digest)));
        }
        QVERIFY(!hasher.CalculateMD5(alphabet.repeated(32768 / alphabet.size() + 1).left(32768)));
    }
};

QTEST_APPLESS_MAIN(TestMd5)
#include "tst_md5.moc"
