#include "folder/NativeName.h"

#include <QTest>

class TestNativeName : public QObject
{
    Q_OBJECT

private slots:
    void bytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");

        QTest::newRow("plain ASCII") << QByteArray("a (2).jpg_!") << true;
        QTest::newRow("Cyrillic") << QByteArray("\xD0\xBA\xD0\xBE\xD1\x82.jpg") << true;
        QTest::newRow("Windows-1251 bytes") << QByteArray("\xEA\xEE\xF2.jpg") << false;
        QTest::newRow("lone continuation byte") << QByteArray("a\x80" "b") << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF.jpg") << false;
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xB2\x80.jpg") << false;
        QTest::newRow("cut off at the end") << QByteArray("photo\xE2\x82") << false;
    }

    void bytesRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);

        const QString name = NativeName::Decode(bytes);
        QCOMPARE(NativeName::Encode(name), bytes);
        if (valid) {
            QCOMPARE(name, QString::fromUtf8(bytes));
        }
        const QString shown = NativeName::Displayable(name);
        QCOMPARE(shown.toUtf8().contains("\xEF\xBF\xBD"), !valid);
        QVERIFY(shown.isValidUtf16());
    }

    // Two different byte names must never meet in one text, or one picture
    // could be deleted for another.
    void differentBytesStayDifferent()
    {
        const QByteArrayList names = {"\xFF.jpg", "\xFE.jpg", "\xEF\xBF\xBD.jpg", "?.jpg", "\xED\xB3\xBF.jpg"};
        QStringList decoded;
        for (const QByteArray &bytes : names)
            decoded << NativeName::Decode(bytes);
        decoded.removeDuplicates();
        QCOMPARE(decoded.size(), names.size());
    }
};

QTEST_GUILESS_MAIN(TestNativeName)
#include "tst_nativename.moc"
