#include "controls/PropertyBag.h"

#include <QtTest>

class TestPropertyBag : public QObject
{
    Q_OBJECT

private slots:
    void readIgnoresKeyCase_data();
    void readIgnoresKeyCase();
    void writeOmitsValueEqualToDefault_data();
    void writeOmitsValueEqualToDefault();
    void writingTheDefaultDropsAnEarlierValue();
    void saveAndLoadKeepKindsAndOrder();
    void loadRejectsBadInputAndKeepsTheBag_data();
    void loadRejectsBadInputAndKeepsTheBag();
};

void TestPropertyBag::readIgnoresKeyCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("same spelling") << "ButtonStyle" << QVariant(1);
    QTest::newRow("lower case, as the window stores it") << "buttonstyle" << QVariant(1);
    QTest::newRow("upper case") << "BUTTONSTYLE" << QVariant(1);
    QTest::newRow("absent key gives the default") << "PicturePosition" << QVariant(7);
}

void TestPropertyBag::readIgnoresKeyCase()
{
    QFETCH(QString, asked);
    QFETCH(QVariant, expected);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("ButtonStyle"), 1, 2);
    QCOMPARE(bag.ReadProperty(asked, 7), expected);
}

void TestPropertyBag::writeOmitsValueEqualToDefault_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("written");
    QTest::newRow("equal whole numbers") << QVariant(qint32(2)) << QVariant(short(2)) << false;
    QTest::newRow("different whole numbers") << QVariant(3) << QVariant(2) << true;
    QTest::newRow("system colour against its default") << QVariant(0x80000014u) << QVariant(0x80000014u) << false;
    QTest::newRow("same bits, signed and unsigned, differ as numbers")
        << QVariant(qint32(-2147483628)) << QVariant(0x80000014u) << true;
    QTest::newRow("true against 1") << QVariant(true) << QVariant(1) << false;
    QTest::newRow("false against 1") << QVariant(false) << QVariant(1) << true;
    QTest::newRow("same text") << QVariant(QStringLiteral("XpB1")) << QVariant(QStringLiteral("XpB1")) << false;
    QTest::newRow("text is not a number") << QVariant(QStringLiteral("1")) << QVariant(1) << true;
    QTest::newRow("no picture") << QVariant(QByteArray()) << QVariant(QByteArray()) << false;
    QTest::newRow("no default: always written") << QVariant(0) << QVariant() << true;
}

void TestPropertyBag::writeOmitsValueEqualToDefault()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, written);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Key"), value, defaultValue);
    QCOMPARE(bag.Contains(QStringLiteral("key")), written);
}

void TestPropertyBag::writingTheDefaultDropsAnEarlierValue()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("MaskColor"), 0xFF00FFu, 0);
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Go"), QString());
    bag.WriteProperty(QStringLiteral("maskcolor"), 0, 0);
    QCOMPARE(bag.Keys(), QStringList{QStringLiteral("Caption")});
}

void TestPropertyBag::saveAndLoadKeepKindsAndOrder()
{
    PropertyBag inner;
    inner.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Закачать"));
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Start"), QVariant::fromValue(inner));
    bag.WriteProperty(QStringLiteral("Picture"), QByteArray("GIF89a\x00\x01\xff", 9));
    bag.WriteProperty(QStringLiteral("XPColor_Hover"), 0x80000016u);
    bag.WriteProperty(QStringLiteral("Enabled"), false);

    PropertyBag loaded;
    QString error;
    QVERIFY2(loaded.Load(bag.Save(), &error), qPrintable(error));
    QCOMPARE(loaded.Keys(), bag.Keys());
    QCOMPARE(loaded.ReadProperty(QStringLiteral("picture")).toByteArray(), QByteArray("GIF89a\x00\x01\xff", 9));
    QCOMPARE(loaded.ReadProperty(QStringLiteral("xpcolor_hover")).toLongLong(), 0x80000016LL);
    QCOMPARE(loaded.ReadProperty(QStringLiteral("enabled")).metaType().id(), int(QMetaType::Bool));
    QCOMPARE(loaded.ReadProperty(QStringLiteral("start")).value<PropertyBag>().ReadProperty(QStringLiteral("caption")),
             QVariant(QStringLiteral("Закачать")));
}

void TestPropertyBag::loadRejectsBadInputAndKeepsTheBag_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("not JSON") << QByteArray("[{\"key\": ");
    QTest::newRow("an object, not an array") << QByteArray(R"({"key": "a", "int": 1})");
    QTest::newRow("entry without a key") << QByteArray(R"([{"int": 1}])");
    QTest::newRow("unknown kind") << QByteArray(R"([{"key": "a", "colour": 1}])");
    QTest::newRow("two values") << QByteArray(R"([{"key": "a", "int": 1, "text": "b"}])");
    QTest::newRow("fraction as int") << QByteArray(R"([{"key": "a", "int": 1.5}])");
    QTest::newRow("int beyond exact range") << QByteArray(R"([{"key": "a", "int": 1e300}])");
    QTest::newRow("bytes not base64") << QByteArray(R"([{"key": "a", "bytes": "@@@"}])");
    QTest::newRow("same key twice, case aside") << QByteArray(R"([{"key": "a", "int": 1}, {"key": "A", "int": 2}])");
    QTest::newRow("bad nested bag") << QByteArray(R"([{"key": "a", "bag": [{"key": "b"}]}])");
}

void TestPropertyBag::loadRejectsBadInputAndKeepsTheBag()
{
    QFETCH(QByteArray, json);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("kept"), 5);
    QString error;
    QVERIFY(!bag.Load(json, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(bag.Keys(), QStringList{QStringLiteral("kept")});
}

QTEST_GUILESS_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
