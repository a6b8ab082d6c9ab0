#include "controls/PropertyBag.h"

#include <QtTest>

class TestPropertyBag : public QObject
{
    Q_OBJECT

private slots:
    void writeOmitsValueEqualToDefault_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::addColumn<bool>("written");
        QTest::newRow("equal whole numbers of different widths") << QVariant(qint32(2)) << QVariant(short(2)) << false;
        QTest::newRow("same bits, signed and unsigned, differ as numbers")
            << QVariant(qint32(-2147483628)) << QVariant(0x80000014u) << true;
        QTest::newRow("true against 1") << QVariant(true) << QVariant(1) << false;
        QTest::newRow("text is not a number") << QVariant(QStringLiteral("1")) << QVariant(1) << true;
    }

    void writeOmitsValueEqualToDefault()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        QFETCH(bool, written);
        // An earlier value under another spelling is replaced or dropped.
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("KEY"), 99);
        bag.WriteProperty(QStringLiteral("Key"), value, defaultValue);
        QCOMPARE(bag.Count(), qsizetype(written));
        QCOMPARE(bag.ReadProperty(QStringLiteral("key")), written ? value : QVariant());
    }

    // Saved again, a loaded bag gives the same text only if every key, value
    // and kind came back in order.
    void saveAndLoadKeepKindsAndOrder()
    {
        PropertyBag inner, bag, loaded;
        inner.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Закачать"));
        bag.WriteProperty(QStringLiteral("Start"), QVariant::fromValue(inner));
        bag.WriteProperty(QStringLiteral("Picture"), QByteArray("GIF89a\x00\x01\xff", 9));
        bag.WriteProperty(QStringLiteral("XPColor_Hover"), 0x80000016u);
        bag.WriteProperty(QStringLiteral("Enabled"), false);
        QString error;
        QVERIFY2(loaded.Load(bag.Save(), &error), qPrintable(error));
        QCOMPARE(loaded.Save(), bag.Save());
    }

    void loadRejectsBadInputAndKeepsTheBag_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not JSON") << QByteArray("[{\"key\": ");
        QTest::newRow("unknown kind") << QByteArray(R"([{"key": "a", "colour": 1}])");
        QTest::newRow("int beyond exact range") << QByteArray(R"([{"key": "a", "int": 1e300}])");
        QTest::newRow("bytes not base64") << QByteArray(R"([{"key": "a", "bytes": "@@@"}])");
        QTest::newRow("same key twice, case aside")
            << QByteArray(R"([{"key": "a", "int": 1}, {"key": "A", "int": 2}])");
        QTest::newRow("bad nested bag") << QByteArray(R"([{"key": "a", "bag": [{"key": "b"}]}])");
    }

    void loadRejectsBadInputAndKeepsTheBag()
    {
        QFETCH(QByteArray, json);
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("kept"), 5);
        QString error;
        QVERIFY(!bag.Load(json, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(bag.Keys(), QStringList{QStringLiteral("kept")});
    }
};

QTEST_GUILESS_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
