#include "controls/PropertyBag.h"

#include <QtTest>

class TestPropertyBag : public QObject
{
    Q_OBJECT

private slots:
    // Reading and writing are the button's stored-form tests; a stored form
    // read from a file may be anything.
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
