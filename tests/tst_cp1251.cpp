#include "text/Cp1251.h"

#include <QTest>

#include <iconv.h>

#include <numeric>
#include <optional>

namespace {

constexpr int Unassigned = 0x98;

// glibc's converter is the independent reference for the code page.
std::optional<QByteArray> Iconv(const char *to, const char *from, QByteArray in)
{
    const iconv_t cd = iconv_open(to, from);
    QByteArray out(in.size() * 4 + 8, '\0');
    char *inAt = in.data();
    char *outAt = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const bool done = iconv(cd, &inAt, &inLeft, &outAt, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    if (!done)
        return std::nullopt;
    out.truncate(outAt - out.data());
    return out;
}

QByteArray Utf16Le(QStringView text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

}

class TestCp1251 : public QObject
{
    Q_OBJECT

private slots:
    // Every UTF-16 unit has the code iconv gives it, or becomes '?'; so does
    // each half of a surrogate pair. With that, each byte read back to itself
    // shows that it reads as iconv reads it.
    void everyUnitAsIconv()
    {
        QByteArray all(256, '\0');
        std::iota(all.begin(), all.end(), '\0');
        QCOMPARE(Cp1251::FromUnicode(Cp1251::ToUnicode(all)), all);
        QStringList mismatches;
        for (int u = 0; u <= 0xFFFF; ++u) {
            const QChar ch{char16_t(u)};
            const std::optional<QByteArray> code = Iconv("CP1251", "UTF-16LE", Utf16Le(QStringView(&ch, 1)));
            const char expected = code && code->size() == 1 ? code->at(0) : '?';
            if (u != Unassigned && Cp1251::FromUnicode(ch) != expected)
                mismatches << QStringLiteral("U+%1").arg(u, 4, 16, QLatin1Char('0'));
        }
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.mid(0, 10).join(QLatin1Char(' '))));
        QCOMPARE(Cp1251::FromUnicode(u"Aä€Я中😀ёz"), QByteArray("A?\x88\xDF???\xB8z"));
    }
};

QTEST_APPLESS_MAIN(TestCp1251)
#include "tst_cp1251.moc"
