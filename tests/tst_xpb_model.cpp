#include "XpBTestKit.h"

#include "controls/PropertyBag.h"

#include <QKeyEvent>
#include <QtTest>

using namespace XpBTestKit;

class TestXpBModel : public QObject
{
    Q_OBJECT

private slots:
    void accessKey_data();
    void accessKey();
    void newButtonHoldsZeroes();
    void emptyBagGivesDefaultsAndWritesNothing();
    void storedButtonRoundTrip();
    void storedValuesOfWrongKindOrRange_data();
    void storedValuesOfWrongKindOrRange();
    void storedDisabledKeepsFlags();
    void pictureAssignmentSizesTheArea();
    void himetricRoundsHalvesToEven_data();
    void himetricRoundsHalvesToEven();
    void smallButtonIsEnlarged_data();
    void smallButtonIsEnlarged();
};

void TestXpBModel::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("one character") << "&" << "";
    QTest::newRow("no ampersand") << "Go" << "";
    QTest::newRow("first letter, lower-cased") << "&Go" << "g";
    QTest::newRow("inside the word") << "Sto&P" << "p";
    QTest::newRow("ampersand last") << "Go&" << "";
    QTest::newRow("one doubled pair only") << "a&&b" << "";
    QTest::newRow("doubled pair at the end") << "a&&" << "";
    QTest::newRow("three ampersands then a letter") << "&&&X" << "x";
    QTest::newRow("two doubled pairs") << "&&a&&b" << "";
    QTest::newRow("doubled pair then a single") << "&&a&b" << "b";
    QTest::newRow("later pairs not examined") << "&&&&x" << "";
    QTest::newRow("Cyrillic") << QStringLiteral("&Выбрать каталог") << QStringLiteral("в");
}

void TestXpBModel::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);
    XpB b;
    b.SetCaption(caption);
    QCOMPARE(b.AccessKey(), key);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("caption"), caption);
    XpB read;
    read.ReadProperties(bag);
    QCOMPARE(read.AccessKey(), key);
}

void TestXpBModel::newButtonHoldsZeroes()
{
    XpB b;
    QCOMPARE(b.ButtonStyle(), 0);
    QCOMPARE(b.PicturePosition(), 0);
    QCOMPARE(b.Caption(), QString());
    QCOMPARE(b.PictureWidth(), 0);
    QVERIFY(!b.ShowFocusRect() && !b.XPDefaultColors() && !b.UseMaskColor());
    QCOMPARE(b.XPColor_Hover() | b.XPColor_Pressed() | b.MaskColor(), 0u);
    QCOMPARE(b.HasFocus() + b.IsPressed() + b.IsHover(), 0);
}

void TestXpBModel::emptyBagGivesDefaultsAndWritesNothing()
{
    XpB b;
    b.setObjectName(QStringLiteral("XpB1"));
    b.ReadProperties(PropertyBag());
    QCOMPARE(b.Caption(), QStringLiteral("XpB1"));
    QCOMPARE(b.ButtonStyle(), 2);
    QCOMPARE(b.PicturePosition(), 1);
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(32, 32));
    QVERIFY(b.ShowFocusRect() && b.XPDefaultColors() && !b.UseMaskColor() && b.EnabledCtrl());
    QCOMPARE(b.XPColor_Pressed(), 0x80000014u);
    QCOMPARE(b.XPColor_Hover(), 0x80000016u);
    QCOMPARE(b.MaskColor(), 0u);
    QVERIFY(!b.Picture());
    PropertyBag written;
    b.WriteProperties(written);
    QCOMPARE(written.Keys(), QStringList());
}

// As the window keeps its Start button: keys in lower case, a picture whose
// top-left pixel becomes the stored mask colour on the first repaint.
void TestXpBModel::storedButtonRoundTrip()
{
    PropertyBag stored;
    stored.WriteProperty(QStringLiteral("caption"), QStringLiteral("Закачать"));
    stored.WriteProperty(QStringLiteral("buttonstyle"), 1);
    stored.WriteProperty(QStringLiteral("picture"), Bitmap(16, 16, 0x0000A000, 0x00FF00FF)->Bytes());
    stored.WriteProperty(QStringLiteral("picturewidth"), 16);
    stored.WriteProperty(QStringLiteral("pictureheight"), 16);
    stored.WriteProperty(QStringLiteral("showfocusrect"), false);
    stored.WriteProperty(QStringLiteral("xpcolor_pressed"), 0);
    stored.WriteProperty(QStringLiteral("xpcolor_hover"), 0);
    stored.WriteProperty(QStringLiteral("xpdefaultcolors"), false);
    stored.WriteProperty(QStringLiteral("maskcolor"), 0x00C0C0C0);
    XpB b;
    b.setObjectName(QStringLiteral("Start"));
    b.ReadProperties(stored);
    QCOMPARE(b.ButtonStyle(), 1);
    QCOMPARE(b.Picture()->Size(), QSize(16, 16));
    QVERIFY(!b.ShowFocusRect() && !b.XPDefaultColors());
    QCOMPARE(b.MaskColor(), 0x00FF00FFu);

    PropertyBag written;
    b.WriteProperties(written);
    QCOMPARE(written.Keys(), (QStringList{"Caption", "ButtonStyle", "Picture", "PictureWidth", "PictureHeight",
                                          "ShowFocusRect", "XPColor_Pressed", "XPColor_Hover", "XPDefaultColors",
                                          "MaskColor"}));
    PropertyBag reloaded;
    QVERIFY(reloaded.Load(written.Save()));
    XpB again;
    again.setObjectName(QStringLiteral("Start"));
    again.ReadProperties(reloaded);
    PropertyBag rewritten;
    again.WriteProperties(rewritten);
    QCOMPARE(rewritten.Save(), written.Save());
    QCOMPARE(again.FaceImage(), b.FaceImage());
}

void TestXpBModel::storedValuesOfWrongKindOrRange_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("read");
    QTest::newRow("style as text reads the default") << "ButtonStyle" << QVariant("wide") << QVariant(2);
    QTest::newRow("width beyond 32 bits is held") << "PictureWidth" << QVariant(5000000000LL) << QVariant(2147483647);
    QTest::newRow("signed colour keeps its bits") << "MaskColor" << QVariant(-1) << QVariant(0xFFFFFFFFu);
    QTest::newRow("colour beyond 32 bits reads the default") << "MaskColor" << QVariant(1LL << 33) << QVariant(0u);
    QTest::newRow("any non-zero is true") << "ShowFocusRect" << QVariant(-1) << QVariant(true);
    QTest::newRow("unreadable picture is none") << "Picture" << QVariant(QByteArray("not an image")) << QVariant(false);
}

void TestXpBModel::storedValuesOfWrongKindOrRange()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QVariant, read);
    PropertyBag bag;
    bag.WriteProperty(key, value);
    XpB b;
    b.ReadProperties(bag);
    const QVariant seen = key == QLatin1String("ButtonStyle")     ? QVariant(b.ButtonStyle())
                          : key == QLatin1String("PictureWidth")  ? QVariant(b.PictureWidth())
                          : key == QLatin1String("MaskColor")     ? QVariant(b.MaskColor())
                          : key == QLatin1String("ShowFocusRect") ? QVariant(b.ShowFocusRect())
                                                                  : QVariant(bool(b.Picture()));
    QCOMPARE(seen, read);
}

void TestXpBModel::storedDisabledKeepsFlags()
{
    XpB b;
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&b, &space);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("enabled"), false);
    b.ReadProperties(bag);
    QVERIFY(!b.EnabledCtrl());
    QCOMPARE(b.IsPressed() + b.IsHover(), 2);
    PropertyBag written;
    b.WriteProperties(written);
    QCOMPARE(written.ReadProperty(QStringLiteral("Enabled")), QVariant(false));
}

void TestXpBModel::pictureAssignmentSizesTheArea()
{
    XpB b;
    b.SetPicture(Bitmap(16, 16, 0, 0));
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(16, 16));
    b.SetPicture(nullptr);
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(16, 16));
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Picture"), Bitmap(12, 12, 0, 0)->Bytes());
    b.ReadProperties(bag);
    QCOMPARE(b.Picture()->Size(), QSize(12, 12));
    QCOMPARE(QSize(b.PictureWidth(), b.PictureHeight()), QSize(32, 32));
}

void TestXpBModel::himetricRoundsHalvesToEven_data()
{
    QTest::addColumn<int>("himetric");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("pixels");
    QTest::newRow("16 pixels at 96 dpi") << 423 << 96.0 << 16;
    QTest::newRow("2.5 rounds to 2") << 2540 << 2.5 << 2;
    QTest::newRow("3.5 rounds to 4") << 2540 << 3.5 << 4;
}

void TestXpBModel::himetricRoundsHalvesToEven()
{
    QFETCH(int, himetric);
    QFETCH(double, dpi);
    QFETCH(int, pixels);
    QCOMPARE(XpB::HimetricToPixels(himetric, dpi), pixels);
}

void TestXpBModel::smallButtonIsEnlarged_data()
{
    QTest::addColumn<QSize>("given");
    QTest::addColumn<QSize>("applied");
    QTest::newRow("narrow") << QSize(5, 30) << QSize(10, 30);
    QTest::newRow("low") << QSize(40, 3) << QSize(40, 10);
    QTest::newRow("both") << QSize(1, 1) << QSize(10, 10);
    QTest::newRow("ten is enough") << QSize(10, 10) << QSize(10, 10);
}

void TestXpBModel::smallButtonIsEnlarged()
{
    QFETCH(QSize, given);
    QFETCH(QSize, applied);
    std::unique_ptr<XpB> b(MakeButton(3, given.width(), given.height()));
    QCOMPARE(b->size(), applied);
    QCOMPARE(b->FaceImage().size(), applied);
    QCOMPARE(b->FocusRect(), (EdgeRect{4, 4, applied.width() - 4, applied.height() - 4}));
}

QTEST_MAIN(TestXpBModel)
#include "tst_xpb_model.moc"
