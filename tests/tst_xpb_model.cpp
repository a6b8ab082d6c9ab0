#include "XpBTestKit.h"

#include <QtTest>

using namespace XpBTestKit;

class TestXpBModel : public QObject
{
    Q_OBJECT

private slots:
    void accessKey_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("ampersand last") << "Go&" << "";
        QTest::newRow("letter after it, lower-cased") << "Sto&P" << "p";
        QTest::newRow("one doubled pair only") << "a&&b" << "";
        QTest::newRow("doubled pair then a single") << "&&a&b" << "b";
        QTest::newRow("later pairs not examined") << "&&&&x" << "";
        QTest::newRow("Cyrillic") << QStringLiteral("&Выбрать каталог") << QStringLiteral("в");
    }

    void accessKey()
    {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        XpB set, read;
        set.SetCaption(caption);
        read.ReadProperties(Stored({{"caption", caption}}));
        QCOMPARE(set.AccessKey(), key);
        QCOMPARE(read.AccessKey(), key);
    }

    void storedRoundTrip_data()
    {
        QTest::addColumn<PropertyBag>("stored");
        QTest::addColumn<PropertyBag>("written");
        const QByteArray picture = Bitmap(16, 0x0000A000, 0x00FF00FF)->Bytes();
        // Read and write must agree on every default, the caption's being the
        // control's name, or an untouched button would store values.
        QTest::newRow("nothing stored, nothing written") << PropertyBag() << PropertyBag();
        QTest::newRow("lower-case keys, as the window stores them; the key colour comes from the picture")
            << Stored({{"caption", QStringLiteral("Закачать")}, {"buttonstyle", 1}, {"picture", picture},
                       {"showfocusrect", false}, {"xpcolor_hover", 0}, {"maskcolor", 0x00C0C0C0}})
            << Stored({{"Caption", QStringLiteral("Закачать")}, {"ButtonStyle", 1}, {"Picture", picture},
                       {"ShowFocusRect", false}, {"XPColor_Hover", 0}, {"MaskColor", 0x00FF00FF}});
        QTest::newRow("turned off, stored as a number, written as a Boolean")
            << Stored({{"enabled", 0}}) << Stored({{"Enabled", false}});
        QTest::newRow("style as text reads the default") << Stored({{"ButtonStyle", "wide"}}) << PropertyBag();
        QTest::newRow("width beyond 32 bits is held")
            << Stored({{"PictureWidth", 5000000000LL}}) << Stored({{"PictureWidth", 2147483647}});
        QTest::newRow("signed colour keeps its bits")
            << Stored({{"MaskColor", -1}}) << Stored({{"MaskColor", 0xFFFFFFFFu}});
        QTest::newRow("colour beyond 32 bits reads the default")
            << Stored({{"MaskColor", (1LL << 32) + 5}}) << PropertyBag();
        QTest::newRow("unreadable picture is none")
            << Stored({{"Picture", QByteArray("not an image")}}) << PropertyBag();
    }

    void storedRoundTrip()
    {
        QFETCH(PropertyBag, stored);
        QFETCH(PropertyBag, written);
        XpB b, again;
        b.setObjectName(QStringLiteral("Start"));
        again.setObjectName(QStringLiteral("Start"));
        b.ReadProperties(stored);
        PropertyBag bag, reloaded, rewritten;
        b.WriteProperties(bag);
        QCOMPARE(bag.Save(), written.Save());
        QVERIFY(reloaded.Load(bag.Save()));
        again.ReadProperties(reloaded);
        again.WriteProperties(rewritten);
        QCOMPARE(rewritten.Save(), bag.Save());
        QCOMPARE(again.FaceImage(), b.FaceImage());
    }

    // Each side is enlarged on its own, before the face and focus rectangle are sized.
    void smallButtonIsEnlarged()
    {
        std::unique_ptr<XpB> narrow(MakeButton(3, 5, 30)), low(MakeButton(3, 40, 3));
        QCOMPARE(narrow->FaceImage().size(), QSize(10, 30));
        QCOMPARE(low->FaceImage().size(), QSize(40, 10));
        QCOMPARE(low->FocusRect(), (EdgeRect{4, 4, 36, 6}));
    }
};

QTEST_MAIN(TestXpBModel)
#include "tst_xpb_model.moc"
