#include "XpBTestKit.h"

#include "controls/PropertyBag.h"
#include "controls/XpBLayout.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QtTest>

using namespace XpBTestKit;

namespace {

constexpr quint32 Blue = 0x00FF0000u;
constexpr quint32 Magenta = 0x00FF00FFu;
constexpr quint32 HoverRing = 0x004799E1u;
constexpr quint32 FocusRing = 0x00E6AA8Cu;
// A 16 x 16 picture in a 100 x 30 button, no caption: C is (4, 4, 96, 26).
const EdgeRect PictureAlone{42, 7, 58, 23};

void Press(XpB &button)
{
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&button, &space);
}

// Inside the border, where caption and picture go.
QRect InkBox(const XpB &button, quint32 colour, int *count = nullptr)
{
    QRect box;
    int n = 0;
    for (int y = 2; y < button.FaceImage().height() - 2; ++y) {
        for (int x = 2; x < button.FaceImage().width() - 2; ++x) {
            if (Pixel(button, x, y) == colour) {
                box |= QRect(x, y, 1, 1);
                ++n;
            }
        }
    }
    if (count)
        *count = n;
    return box;
}

int Count(const XpB &button, quint32 colour)
{
    int n = 0;
    InkBox(button, colour, &n);
    return n;
}

}

Q_DECLARE_METATYPE(EdgeRect)

class TestXpBRender : public QObject
{
    Q_OBJECT

private slots:
    void bordersOfStylesZeroToTwo_data();
    void bordersOfStylesZeroToTwo();
    void xpFace_data();
    void xpFace();
    void xpRingLinesAndPixels_data();
    void xpRingLinesAndPixels();
    void ringColoursChangeOnlyOnRepaint();
    void focusRectangle_data();
    void focusRectangle();
    void placeBothByPosition_data();
    void placeBothByPosition();
    void captionCentredAlone();
    void captionWrapsAndLongWordWidens();
    void captionColours_data();
    void captionColours();
    void pictureDrawing_data();
    void pictureDrawing();
    void widerPictureAreaShowsPicture1Background();
    void noEventsRunDuringRepaint();
    void absurdPictureSizeStillPaints_data();
    void absurdPictureSizeStillPaints();
};

void TestXpBRender::bordersOfStylesZeroToTwo_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("hover");
    QTest::addColumn<bool>("pressed");
    // top middle, left middle, right middle, bottom middle, top-right, bottom-left
    QTest::addColumn<QList<quint32>>("edges");
    const QList<quint32> raised{Highlight, Highlight, Black, Black, Highlight, Highlight};
    const QList<quint32> sunken{Black, Black, Highlight, Highlight, Black, Black};
    const QList<quint32> none{Face, Face, Face, Face, Face, Face};
    QTest::newRow("style 0 at rest: raised") << 0 << false << false << raised;
    QTest::newRow("style 0 pressed: sunken") << 0 << false << true << sunken;
    QTest::newRow("style 1 at rest: no border") << 1 << false << false << none;
    QTest::newRow("style 1 hovered: raised") << 1 << true << false << raised;
    QTest::newRow("style 1 pressed inside: sunken") << 1 << true << true << sunken;
    QTest::newRow("style 2 hovered draws as 1") << 2 << true << false << raised;
    QTest::newRow("style 7 at rest draws as 1") << 7 << false << false << none;
}

void TestXpBRender::bordersOfStylesZeroToTwo()
{
    QFETCH(int, style);
    QFETCH(bool, hover);
    QFETCH(bool, pressed);
    QFETCH(QList<quint32>, edges);
    std::unique_ptr<XpB> b(MakeButton(style, 40, 20));
    if (hover)
        Hover(*b, pressed);
    else if (pressed)
        Press(*b);
    const QList<quint32> seen{Pixel(*b, 20, 0), Pixel(*b, 0, 10), Pixel(*b, 39, 10),
                              Pixel(*b, 20, 19), Pixel(*b, 39, 0), Pixel(*b, 0, 19)};
    QCOMPARE(seen, edges);
    QCOMPARE(Pixel(*b, 20, 10), Face);
}

void TestXpBRender::xpFace_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<quint32>("colour");
    // 40 x 20; light = face + 48 = (255, 255, 248).
    QTest::newRow("rest, row 1: 50/20 rounds 2.5 to 2") << "rest" << 5 << 1 << 0x00FDFDFDu;
    QTest::newRow("rest, row 3: 7.5 rounds to 8") << "rest" << 5 << 3 << 0x00F7F7F7u;
    QTest::newRow("rest, row 5: 12.5 rounds to 12") << "rest" << 5 << 5 << 0x00F3F3F3u;
    QTest::newRow("rest, row 18") << "rest" << 20 << 18 << 0x00D2D2D2u;
    QTest::newRow("rest, outline top") << "rest" << 20 << 0 << DarkShadow;
    QTest::newRow("rest, outline bottom") << "rest" << 20 << 19 << DarkShadow;
    QTest::newRow("rest, outline right") << "rest" << 39 << 10 << DarkShadow;
    QTest::newRow("rest, corner block") << "rest" << 1 << 0 << Face;
    QTest::newRow("rest, corner diagonal top-left") << "rest" << 1 << 1 << Black;
    QTest::newRow("rest, corner diagonal bottom-left") << "rest" << 1 << 18 << Black;
    QTest::newRow("rest, corner diagonal top-right") << "rest" << 38 << 1 << Black;
    QTest::newRow("rest, corner block bottom-right") << "rest" << 39 << 19 << Face;
    QTest::newRow("rest, corner diagonal bottom-right") << "rest" << 38 << 18 << Black;
    QTest::newRow("pressed, row 18: i=2, 2.5 rounds to 2") << "pressed" << 20 << 18 << 0x00D6DDDDu;
    QTest::newRow("pressed, row 14: i=6, 7.5 rounds to 8") << "pressed" << 2 << 14 << 0x00D0D7D7u;
    QTest::newRow("pressed, row 10, where a ring would be") << "pressed" << 2 << 10 << 0x00CCD3D3u;
    QTest::newRow("pressed, row 1: i=19, darkest") << "pressed" << 20 << 1 << 0x00C0C7C7u;
    QTest::newRow("pressed, outline") << "pressed" << 0 << 10 << DarkShadow;
    QTest::newRow("pressed, corner diagonal") << "pressed" << 38 << 18 << Black;
    QTest::newRow("disabled, fill: red 212+48 clamps to 255, then 231") << "disabled" << 20 << 10 << 0x00E0E7E7u;
    QTest::newRow("disabled, outline light-84") << "disabled" << 20 << 0 << 0x00A4ABABu;
    QTest::newRow("disabled, corner block") << "disabled" << 0 << 19 << Face;
    QTest::newRow("disabled, corner pixel light-72") << "disabled" << 1 << 18 << 0x00B0B7B7u;
}

void TestXpBRender::xpFace()
{
    QFETCH(QString, state);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(quint32, colour);
    std::unique_ptr<XpB> b(MakeButton(3, 40, 20));
    if (state != QLatin1String("rest"))
        Hover(*b, true);
    if (state == QLatin1String("disabled"))
        b->SetEnabledCtrl(false);
    QCOMPARE(b->IsPressed(), quint8(state == QLatin1String("pressed")));
    QCOMPARE(Pixel(*b, x, y), colour);
}

void TestXpBRender::xpRingLinesAndPixels_data()
{
    QTest::addColumn<bool>("hover");
    QTest::addColumn<bool>("defaultColours");
    QTest::addColumn<quint32>("ring");
    // ring+35, ring+90, ring-40, ring+20
    QTest::addColumn<QList<quint32>>("shades");
    QTest::newRow("hovered: orange built-in") << true << true << HoverRing
                                              << QList<quint32>{0x006ABCFF, 0x00A1F3FF, 0x001F71B9, 0x005BADF5};
    QTest::newRow("focused: blue built-in") << false << true << FocusRing
                                            << QList<quint32>{0x00FFCDAF, 0x00FFFFE6, 0x00BE8264, 0x00FABEA0};
    QTest::newRow("hovered, own colours: 3-D light") << true << false << Light
                                                     << QList<quint32>{0x00FFFFFF, 0x00FFFFFF, 0x00BBBBBB, 0x00F7F7F7};
}

// 40 x 20: outline (1, 2, 39, 18), lines on rows 1, 2 and 18 and columns 2
// and 37, single pixels inside the corners.
void TestXpBRender::xpRingLinesAndPixels()
{
    QFETCH(bool, hover);
    QFETCH(bool, defaultColours);
    QFETCH(quint32, ring);
    QFETCH(QList<quint32>, shades);
    std::unique_ptr<XpB> b(MakeButton(3, 40, 20));
    b->SetXPDefaultColors(defaultColours);
    b->SetXPColor_Hover(0x80000016u);
    hover ? Hover(*b) : Focus(*b);
    const QList<quint32> outline{Pixel(*b, 1, 10), Pixel(*b, 38, 10), Pixel(*b, 10, 17), Pixel(*b, 3, 16),
                                 Pixel(*b, 36, 16)};
    QCOMPARE(outline, QList<quint32>(5, ring));
    const QList<quint32> lines{Pixel(*b, 10, 2), Pixel(*b, 10, 1), Pixel(*b, 10, 18), Pixel(*b, 2, 10)};
    QCOMPARE(lines, shades);
    const QList<quint32> ends{Pixel(*b, 37, 10), Pixel(*b, 1, 2), Pixel(*b, 3, 3), Pixel(*b, 36, 3)};
    QCOMPARE(ends, (QList<quint32>{shades.at(3), shades.at(0), shades.at(0), shades.at(0)}));
    QCOMPARE(Pixel(*b, 1, 1), Black);
}

void TestXpBRender::ringColoursChangeOnlyOnRepaint()
{
    std::unique_ptr<XpB> b(MakeButton(3, 40, 20));
    b->SetXPDefaultColors(false);
    b->SetXPColor_Hover(0x000000FF);
    Hover(*b);
    QCOMPARE(Pixel(*b, 1, 10), 0x000000FFu);
    b->SetXPColor_Hover(0x0000FF00);
    QCOMPARE(Pixel(*b, 1, 10), 0x000000FFu);
    b->SetXPDefaultColors(true);
    QCOMPARE(b->XPColor_Hover(), 0x0000FF00u);
    b->Refresh();
    QCOMPARE(b->XPColor_Hover(), HoverRing);
    QCOMPARE(b->XPColor_Pressed(), FocusRing);
    QCOMPARE(Pixel(*b, 1, 10), HoverRing);
    b->SetXPColor_Hover(5);
    b->SetEnabledCtrl(false);
    QCOMPARE(b->XPColor_Hover(), 5u);
}

void TestXpBRender::focusRectangle_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("shown");
    // (4,4), (5,4), (35,5), (35,6)
    QTest::addColumn<QList<quint32>>("pixels");
    const quint32 inverted = 0x00372F2Bu;
    QTest::newRow("style 0, dotted") << 0 << true << QList<quint32>{inverted, Face, inverted, Face};
    QTest::newRow("style 1, dotted") << 1 << true << QList<quint32>{inverted, Face, inverted, Face};
    QTest::newRow("style 1, ShowFocusRect false") << 1 << false << QList<quint32>{Face, Face, Face, Face};
    QTest::newRow("style 3 never") << 3 << true
                                   << QList<quint32>{0x00F5F5F5u, 0x00F5F5F5u, 0x00F3F3F3u, 0x00F0F0F0u};
}

void TestXpBRender::focusRectangle()
{
    QFETCH(int, style);
    QFETCH(bool, shown);
    QFETCH(QList<quint32>, pixels);
    std::unique_ptr<XpB> b(MakeButton(style, 40, 20));
    b->SetShowFocusRect(shown);
    Focus(*b);
    QCOMPARE(b->FocusRect(), (EdgeRect{4, 4, 36, 16}));
    QCOMPARE((QList<quint32>{Pixel(*b, 4, 4), Pixel(*b, 5, 4), Pixel(*b, 35, 5), Pixel(*b, 35, 6)}), pixels);
}

void TestXpBRender::placeBothByPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<EdgeRect>("picture");
    QTest::addColumn<EdgeRect>("caption");
    // C (4, 4, 96, 26), picture 16 x 16, caption 30 x 13.
    QTest::newRow("1 left; caption top 8.5 rounds to 8")
        << 1 << 16 << EdgeRect{25, 7, 41, 23} << EdgeRect{45, 8, 75, 21};
    QTest::newRow("2 right") << 2 << 16 << EdgeRect{59, 7, 75, 23} << EdgeRect{25, 8, 55, 21};
    QTest::newRow("0 above; top -1.5 rounds to -2") << 0 << 16 << EdgeRect{42, -2, 58, 14} << EdgeRect{35, 18, 65, 31};
    QTest::newRow("3 below") << 3 << 16 << EdgeRect{42, 15, 58, 31} << EdgeRect{35, -2, 65, 11};
    QTest::newRow("5 keeps both") << 5 << 16 << EdgeRect{1, 2, 3, 4} << EdgeRect{35, 8, 65, 21};
    QTest::newRow("width beyond 16 bits is held at 32767")
        << 1 << 40000 << EdgeRect{-16334, 7, 16433, 23} << EdgeRect{16437, 8, 16467, 21};
}

void TestXpBRender::placeBothByPosition()
{
    QFETCH(int, position);
    QFETCH(int, pictureWidth);
    QFETCH(EdgeRect, picture);
    QFETCH(EdgeRect, caption);
    EdgeRect p{1, 2, 3, 4};
    EdgeRect t{35, 8, 65, 21};
    XpBLayout::PlaceBoth(position, EdgeRect{4, 4, 96, 26}, pictureWidth, 16, p, t);
    QCOMPARE(p, picture);
    QCOMPARE(t, caption);
}

void TestXpBRender::captionCentredAlone()
{
    std::unique_ptr<XpB> b(MakeButton(1, 100, 30));
    b->SetCaption(QStringLiteral("Go"));
    const EdgeRect t = b->CaptionRect();
    QVERIFY(std::abs((t.Left - 4) - (96 - t.Right)) <= 1);
    QVERIFY(std::abs((t.Top - 4) - (26 - t.Bottom)) <= 1);
    QCOMPARE(b->ContentRect(), (EdgeRect{4, 4, 96, 26}));
    QCOMPARE(b->FullRect(), (EdgeRect{0, 0, 99, 29}));
}

void TestXpBRender::captionWrapsAndLongWordWidens()
{
    std::unique_ptr<XpB> b(MakeButton(1, 80, 80));
    const int line = QFontMetrics(b->font()).height();
    b->SetCaption(QStringLiteral("alpha beta gamma delta"));
    QVERIFY(b->CaptionRect().Bottom - b->CaptionRect().Top >= 2 * line);
    b->SetCaption(QStringLiteral("Supercalifragilistic"));
    QCOMPARE(b->CaptionRect().Bottom - b->CaptionRect().Top, line);
    QVERIFY(b->CaptionRect().Right - b->CaptionRect().Left > 72);
}

void TestXpBRender::captionColours_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("pressed");
    QTest::newRow("enabled") << true << false;
    QTest::newRow("enabled and pressed: one pixel right and down") << true << true;
    QTest::newRow("disabled: highlight copy under shadow copy") << false << false;
}

void TestXpBRender::captionColours()
{
    QFETCH(bool, enabled);
    QFETCH(bool, pressed);
    std::unique_ptr<XpB> rest(MakeButton(1, 100, 30));
    rest->SetCaption(QStringLiteral("HIH"));
    std::unique_ptr<XpB> b(MakeButton(1, 100, 30));
    b->SetCaption(QStringLiteral("HIH"));
    b->SetEnabledCtrl(enabled);
    if (pressed)
        Press(*b);
    const QRect text = InkBox(*rest, Black);
    QVERIFY(!text.isEmpty());
    if (enabled) {
        QCOMPARE(InkBox(*b, Black), text.translated(pressed ? 1 : 0, pressed ? 1 : 0));
    } else {
        QCOMPARE(Count(*b, Black), 0);
        QCOMPARE(InkBox(*b, Shadow), text);
        QVERIFY(Count(*b, Highlight) > 0);
        QVERIFY(text.translated(1, 1).contains(InkBox(*b, Highlight)));
    }
}

void TestXpBRender::pictureDrawing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("useMask");
    QTest::addColumn<quint32>("mask");
    // at P's top-left, one pixel right of it, and one past the bottom-right
    QTest::addColumn<QList<quint32>>("pixels");
    QTest::addColumn<quint32>("maskAfter");
    const int bitmap = 1, metafile = 2, icon = 3;
    QTest::newRow("top-left colour is the mask and is read back")
        << bitmap << true << false << Black << QList<quint32>{Face, Blue, Face} << Magenta;
    QTest::newRow("own mask colour hides blue")
        << bitmap << true << true << Blue << QList<quint32>{Magenta, Face, Face} << Blue;
    QTest::newRow("own mask colour present nowhere: all drawn")
        << bitmap << true << true << Black << QList<quint32>{Magenta, Blue, Face} << Black;
    QTest::newRow("icon: own transparency, mask untouched")
        << icon << true << false << Black << QList<quint32>{Face, Blue, Face} << Black;
    QTest::newRow("other kinds are not drawn") << metafile << true << false << Black
                                               << QList<quint32>{Face, Face, Face} << Black;
    QTest::newRow("disabled: shadow ink, highlight below and right")
        << bitmap << false << false << Black << QList<quint32>{Shadow, Shadow, Highlight} << Black;
}

void TestXpBRender::pictureDrawing()
{
    QFETCH(int, kind);
    QFETCH(bool, enabled);
    QFETCH(bool, useMask);
    QFETCH(quint32, mask);
    QFETCH(QList<quint32>, pixels);
    QFETCH(quint32, maskAfter);
    std::unique_ptr<XpB> b(MakeButton(1, 100, 30));
    b->SetEnabledCtrl(enabled);
    b->SetUseMaskColor(useMask);
    b->SetMaskColor(mask);
    b->SetPicture(Bitmap(16, 16, Blue, Magenta, PictureObject::Kind(kind)));
    const EdgeRect p = b->PictureRect();
    QCOMPARE(p, PictureAlone);
    QCOMPARE((QList<quint32>{Pixel(*b, p.Left, p.Top), Pixel(*b, p.Left + 1, p.Top), Pixel(*b, p.Right, p.Bottom)}),
             pixels);
    QCOMPARE(b->MaskColor(), maskAfter);
    if (enabled && kind == int(PictureObject::Kind::Bitmap) && !useMask) {
        Press(*b);
        QCOMPARE(Pixel(*b, p.Left + 1, p.Top + 1), Face);
        QCOMPARE(Pixel(*b, p.Right, p.Bottom), Blue);
    }
}

void TestXpBRender::widerPictureAreaShowsPicture1Background()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("picture"), Bitmap(16, 16, Blue, Magenta)->Bytes());
    bag.WriteProperty(QStringLiteral("picturewidth"), 24);
    bag.WriteProperty(QStringLiteral("pictureheight"), 16);
    bag.WriteProperty(QStringLiteral("buttonstyle"), 3);
    std::unique_ptr<XpB> b(MakeButton(3, 100, 30));
    b->ReadProperties(bag);
    const EdgeRect p = b->PictureRect();
    QCOMPARE(p, (EdgeRect{38, 7, 62, 23}));
    QCOMPARE(Pixel(*b, p.Left + 5, 10), Blue);
    QCOMPARE(Pixel(*b, p.Left + 20, 10), Face);
    // Masked: the gradient shows, row 7 at 50/30 per row.
    QCOMPARE(Pixel(*b, p.Left, p.Top), 0x00F3F3F3u);
}

void TestXpBRender::noEventsRunDuringRepaint()
{
    std::unique_ptr<XpB> b(MakeButton(1, 100, 30));
    bool ran = false;
    QMetaObject::invokeMethod(this, [&ran] { ran = true; }, Qt::QueuedConnection);
    b->SetPicture(Bitmap(16, 16, Blue, Magenta));
    QVERIFY(!ran);
    QTRY_VERIFY(ran);
}

void TestXpBRender::absurdPictureSizeStillPaints_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("extent");
    QTest::newRow("width beyond 16 bits") << 40000 << 16 << QSize(32767, 16);
    QTest::newRow("32-bit extremes") << 2147483647 << -2147483647 - 1 << QSize(32767, -32768);
}

void TestXpBRender::absurdPictureSizeStillPaints()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, extent);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Go"));
    bag.WriteProperty(QStringLiteral("Picture"), Bitmap(16, 16, Blue, Magenta)->Bytes());
    bag.WriteProperty(QStringLiteral("PictureWidth"), width);
    bag.WriteProperty(QStringLiteral("PictureHeight"), height);
    std::unique_ptr<XpB> b(MakeButton(1, 100, 30));
    b->ReadProperties(bag);
    const EdgeRect p = b->PictureRect();
    QCOMPARE(QSize(p.Right - p.Left, p.Bottom - p.Top), extent);
    QCOMPARE(b->CaptionRect().Left, p.Right + 4);
    QCOMPARE(b->FaceImage().size(), QSize(100, 30));
    QCOMPARE(Pixel(*b, 50, 15), Face);
}

QTEST_MAIN(TestXpBRender)
#include "tst_xpb_render.moc"
