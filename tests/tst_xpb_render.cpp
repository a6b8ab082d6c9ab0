#include "XpBTestKit.h"

#include "controls/XpBLayout.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QtTest>

using namespace XpBTestKit;

namespace {

constexpr quint32 Blue = 0x00FF0000u;
constexpr quint32 Magenta = 0x00FF00FFu;
constexpr quint32 HoverRing = 0x004799E1u;
constexpr quint32 FocusRing = 0x00E6AA8Cu;

// Stored properties first, as the window reads them; then the style, and
// the flags set through the button's own input handling, as in use.
XpB *Button(int style, const QString &state, const PropertyBag &stored, int width = 40, int height = 20)
{
    XpB *b = MakeButton(style, width, height);
    b->ReadProperties(stored);
    b->SetButtonStyle(style);
    if (state == "focus" || state == "tab focus") {
        QFocusEvent focus(QEvent::FocusIn, state == "focus" ? Qt::MouseFocusReason : Qt::TabFocusReason);
        QApplication::sendEvent(b, &focus);
    } else if (state == "hover") {
        // Hover is the pointer really over the shown button; taking the
        // focus as its window opens would clear it again.
        b->setFocusPolicy(Qt::NoFocus);
        b->show();
        // A movement to where the pointer already is would not be one.
        QCursor::setPos(5000, 5000);
        if (QTest::qWaitForWindowExposed(b))
            QCursor::setPos(b->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::processEvents();
    } else if (state == "pressed") {
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, b->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(b, &press);
    } else if (state == "disabled") {
        b->SetEnabledCtrl(false);
    }
    return b;
}

// Inside the border, where caption and picture go.
QRect InkBox(const XpB &button, quint32 colour)
{
    QRect box;
    for (int y = 2; y < button.height() - 2; ++y) {
        for (int x = 2; x < button.width() - 2; ++x) {
            if (Pixel(button, x, y) == colour)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}

Q_DECLARE_METATYPE(EdgeRect)

class TestXpBRender : public QObject
{
    Q_OBJECT

private slots:
    void face_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("state");
        QTest::addColumn<PropertyBag>("stored");
        QTest::addColumn<QList<QPoint>>("at");
        QTest::addColumn<QList<quint32>>("colours");
        const PropertyBag none;
        // The top-right corner shows which outline was drawn last.
        const QList<QPoint> edges{{20, 0}, {0, 10}, {39, 10}, {20, 19}, {39, 0}};
        const QList<quint32> raised{Highlight, Highlight, Black, Black, Highlight};
        const quint32 dotted = 0x00372F2Bu;
        QTest::newRow("style 0 at rest: raised") << 0 << "rest" << none << edges << raised;
        QTest::newRow("style 0 pressed: sunken")
            << 0 << "pressed" << none << edges << QList<quint32>{Black, Black, Highlight, Highlight, Black};
        QTest::newRow("style 2 at rest: flat as 1") << 2 << "rest" << none << edges << QList<quint32>(5, Face);
        // Light is face + 48; rows step by 50/20, halves rounding to even.
        QTest::newRow("style 3 at rest: gradient, outline, rounded corners")
            << 3 << "rest" << none << QList<QPoint>{{5, 1}, {5, 3}, {20, 18}, {20, 19}, {39, 10}, {1, 0}, {38, 18}}
            << QList<quint32>{0x00FDFDFD, 0x00F7F7F7, 0x00D2D2D2, DarkShadow, DarkShadow, Face, Black};
        QTest::newRow("style 3 pressed: darker gradient rising from the bottom")
            << 3 << "pressed" << none << QList<QPoint>{{20, 18}, {2, 14}, {20, 1}, {0, 10}}
            << QList<quint32>{0x00D6DDDD, 0x00D0D7D7, 0x00C0C7C7, DarkShadow};
        QTest::newRow("style 3 disabled: red clamps at 255 before the offsets")
            << 3 << "disabled" << none << QList<QPoint>{{20, 10}, {20, 0}, {0, 19}, {1, 18}}
            << QList<quint32>{0x00E0E7E7, 0x00A4ABAB, Face, 0x00B0B7B7};
        QTest::newRow("style 3 hovered: built-in orange ring over the stored colour, and its shaded lines")
            << 3 << "hover" << Stored({{"XPColor_Hover", 0xFF}})
            << QList<QPoint>{{1, 10}, {36, 16}, {10, 2}, {10, 1}, {10, 18}, {37, 10}, {3, 3}, {1, 1}}
            << QList<quint32>{HoverRing, HoverRing, 0x006ABCFF, 0x00A1F3FF, 0x001F71B9, 0x005BADF5, 0x006ABCFF, Black};
        QTest::newRow("style 3 hovered, own colour instead of the built-in one")
            << 3 << "hover" << Stored({{"XPDefaultColors", false}, {"XPColor_Hover", 0xFF}}) << QList<QPoint>{{1, 10}}
            << QList<quint32>{0x000000FF};
        QTest::newRow("style 3 focused: blue ring, never a dotted rectangle") << 3 << "focus" << none
            << QList<QPoint>{{1, 10}, {10, 1}, {4, 4}} << QList<quint32>{FocusRing, 0x00FFFFE6, 0x00F5F5F5};
        QTest::newRow("style 0 focused by the mouse, rectangle turned off") << 0 << "focus"
            << Stored({{"ShowFocusRect", false}}) << QList<QPoint>{{4, 4}, {35, 5}} << QList<quint32>{Face, Face};
        QTest::newRow("style 1 focused by the keyboard, rectangle turned off: shown all the same") << 1 << "tab focus"
            << Stored({{"ShowFocusRect", false}}) << QList<QPoint>{{4, 4}, {5, 4}, {35, 5}, {35, 6}}
            << QList<quint32>{dotted, Face, dotted, Face};

        // A lone 16 x 16 picture sits at (12, 2); seen at its top-left, the pixel
        // right of that, and just past its bottom-right.
        const QByteArray blue = Bitmap(16, Blue, Magenta)->Bytes();
        const PropertyBag picture = Stored({{"Picture", blue}, {"PictureWidth", 16}, {"PictureHeight", 16}});
        const QList<QPoint> corners{{12, 2}, {13, 2}, {28, 18}};
        QTest::newRow("picture: top-left colour is the key") << 1 << "rest" << picture << corners
                                                             << QList<quint32>{Face, Blue, Face};
        QTest::newRow("picture: own mask colour is the key")
            << 1 << "rest"
            << Stored({{"Picture", blue}, {"PictureWidth", 16}, {"PictureHeight", 16}, {"UseMaskColor", -1},
                       {"MaskColor", Blue}})
            << corners << QList<quint32>{Magenta, Face, Face};
        QTest::newRow("picture pressed: one pixel right and down") << 1 << "pressed" << picture << corners
                                                                    << QList<quint32>{Face, Face, Blue};
        QTest::newRow("picture disabled: shadow ink, highlight below and right")
            << 1 << "disabled" << picture << corners << QList<quint32>{Shadow, Shadow, Highlight};
        QTest::newRow("icon: own transparency")
            << 1 << "rest"
            << Stored({{"Picture", Bitmap(16, Blue, Magenta, PictureObject::Kind::Icon)->Bytes()},
                       {"PictureWidth", 16}, {"PictureHeight", 16}})
            << corners << QList<quint32>{Face, Blue, Face};
        QTest::newRow("area wider than the picture: face colour beside it, gradient only through the key")
            << 3 << "rest" << Stored({{"Picture", blue}, {"PictureWidth", 24}, {"PictureHeight", 16}})
            << QList<QPoint>{{13, 10}, {28, 10}, {8, 2}} << QList<quint32>{Blue, Face, 0x00FAFAFA};
        QTest::newRow("32-bit picture extremes still paint")
            << 1 << "rest"
            << Stored({{"Caption", "Go"}, {"Picture", blue}, {"PictureWidth", 2147483647},
                       {"PictureHeight", -2147483647 - 1}})
            << QList<QPoint>{{20, 10}} << QList<quint32>{Face};
    }

    void face()
    {
        QFETCH(int, style);
        QFETCH(QString, state);
        QFETCH(PropertyBag, stored);
        QFETCH(QList<QPoint>, at);
        QFETCH(QList<quint32>, colours);
        std::unique_ptr<XpB> b(Button(style, state, stored));
        QList<quint32> seen;
        for (const QPoint &p : at)
            seen << Pixel(*b, p.x(), p.y());
        QCOMPARE(seen, colours);
    }

    void placeBothByPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("pictureWidth");
        QTest::addColumn<EdgeRect>("picture");
        QTest::addColumn<EdgeRect>("caption");
        // Content (4, 4, 96, 26), picture 16 x 16, caption 30 x 13.
        QTest::newRow("1 left; caption top 8.5 rounds to 8")
            << 1 << 16 << EdgeRect{25, 7, 41, 23} << EdgeRect{45, 8, 75, 21};
        QTest::newRow("0 above; top -1.5 rounds to -2")
            << 0 << 16 << EdgeRect {42, -2, 58, 14} << EdgeRect {35, 18, 65, 31};
        QTest::newRow("5 keeps both") << 5 << 16 << EdgeRect{1, 2, 3, 4} << EdgeRect{35, 8, 65, 21};
        QTest::newRow("width beyond 16 bits is held at 32767")
            << 1 << 40000 << EdgeRect{-16334, 7, 16433, 23} << EdgeRect{16437, 8, 16467, 21};
    }

    void placeBothByPosition()
    {
        QFETCH(int, position);
        QFETCH(int, pictureWidth);
        QFETCH(EdgeRect, picture);
        QFETCH(EdgeRect, caption);
        EdgeRect p{1, 2, 3, 4}, t{35, 8, 65, 21};
        XpBLayout::PlaceBoth(position, EdgeRect{4, 4, 96, 26}, pictureWidth, 16, p, t);
        QCOMPARE(p, picture);
        QCOMPARE(t, caption);
    }

    void captionPressedAndDisabled()
    {
        const PropertyBag caption = Stored({{"Caption", "HIH"}});
        std::unique_ptr<XpB> rest(Button(1, "rest", caption, 100, 30)), pressed(Button(1, "pressed", caption, 100, 30)),
            disabled(Button(1, "disabled", caption, 100, 30));
        const QRect text = InkBox(*rest, Black);
        QVERIFY(!text.isEmpty());
        QCOMPARE(InkBox(*pressed, Black), text.translated(1, 1));
        QCOMPARE(InkBox(*disabled, Black), QRect());
        QCOMPARE(InkBox(*disabled, Shadow), text);
        const QRect lit = InkBox(*disabled, Highlight);
        QVERIFY(!lit.isEmpty() && text.translated(1, 1).contains(lit));
    }

    // Assigning sizes the area to the picture, and taking it away keeps the
    // area. Pending events must not run during the repaint: a handler could
    // change the button halfway through.
    void assignedPicture()
    {
        std::unique_ptr<XpB> b(MakeButton(1, 40, 20));
        bool ran = false;
        QMetaObject::invokeMethod(this, [&ran] { ran = true; }, Qt::QueuedConnection);
        b->SetPicture(Bitmap(16, Blue, Magenta));
        QVERIFY(!ran);
        QCOMPARE(b->PictureRect(), (EdgeRect{12, 2, 28, 18}));
        b->SetPicture(nullptr);
        QCOMPARE(QSize(b->PictureWidth(), b->PictureHeight()), QSize(16, 16));
        QTRY_VERIFY(ran);
    }
};

QTEST_MAIN(TestXpBRender)
#include "tst_xpb_render.moc"
