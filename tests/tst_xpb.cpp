#include "XpBTestKit.h"

#include "controls/XpBLayout.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QFocusEvent>
#include <QLineEdit>
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
    if (state == "focus") {
        QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
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

}

Q_DECLARE_METATYPE(EdgeRect)

class TestXpB : public QObject
{
    Q_OBJECT

private slots:
    // The cursor is shared by the whole process: parked away, it cannot hover
    // a freshly shown button before the test moves it.
    void init() { QCursor::setPos(5000, 5000); }

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
        QTest::newRow("style 0 at rest: raised") << 0 << "rest" << none << edges << raised;
        QTest::newRow("style 0 pressed: sunken")
            << 0 << "pressed" << none << edges << QList<quint32>{Black, Black, Highlight, Highlight, Black};
        QTest::newRow("style 3 disabled: red clamps at 255 before the offsets")
            << 3 << "disabled" << none << QList<QPoint>{{20, 10}, {20, 0}, {0, 19}, {1, 18}}
            << QList<quint32>{0x00E0E7E7, 0x00A4ABAB, Face, 0x00B0B7B7};
        QTest::newRow("style 3 hovered: built-in orange ring over the stored colour, and its shaded lines")
            << 3 << "hover" << Stored({{"XPColor_Hover", 0xFF}})
            << QList<QPoint>{{1, 10}, {36, 16}, {10, 2}, {10, 1}, {10, 18}, {37, 10}, {3, 3}, {1, 1}}
            << QList<quint32>{HoverRing, HoverRing, 0x006ABCFF, 0x00A1F3FF, 0x001F71B9, 0x005BADF5, 0x006ABCFF, Black};
        QTest::newRow("style 3 focused: blue ring, never a dotted rectangle") << 3 << "focus" << none
            << QList<QPoint>{{1, 10}, {10, 1}, {4, 4}} << QList<quint32>{FocusRing, 0x00FFFFE6, 0x00F5F5F5};
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
        QTest::addColumn<EdgeRect>("picture");
        QTest::addColumn<EdgeRect>("caption");
        // Content (4, 4, 96, 26), picture 16 x 16, caption 30 x 13.
        QTest::newRow("1 left; caption top 8.5 rounds to 8")
            << 1 << EdgeRect{25, 7, 41, 23} << EdgeRect{45, 8, 75, 21};
        QTest::newRow("0 above; top -1.5 rounds to -2")
            << 0 << EdgeRect {42, -2, 58, 14} << EdgeRect {35, 18, 65, 31};
    }

    void placeBothByPosition()
    {
        QFETCH(int, position);
        QFETCH(EdgeRect, picture);
        QFETCH(EdgeRect, caption);
        EdgeRect p{1, 2, 3, 4}, t{35, 8, 65, 21};
        XpBLayout::PlaceBoth(position, EdgeRect{4, 4, 96, 26}, 16, 16, p, t);
        QCOMPARE(p, picture);
        QCOMPARE(t, caption);
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

    void accessKey_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("ampersand last") << "Go&" << "";
        QTest::newRow("letter after it, lower-cased") << "Sto&P" << "p";
        QTest::newRow("doubled pair then a single") << "&&a&b" << "b";
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
        QTest::newRow("width beyond 32 bits is held")
            << Stored({{"PictureWidth", 5000000000LL}}) << Stored({{"PictureWidth", 2147483647}});
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

    void eventOrder_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("events");
        const QStringList pressed{"MouseIn", "MouseMove 0 at 10,10", "MouseDown 1 at 10,10"};
        QTest::newRow("press and release: Click before MouseUp, no grab at any time")
            << "in, press, flags, release, flags"
            << pressed + QStringList{"hover 1 pressed 1", "Click", "MouseUp 1 at 10,10", "hover 0 pressed 0"};
        // Out is out until the pointer comes back: no entry, no pressed face.
        QTest::newRow("dragged out and moved on: one MouseOut, face at rest, release clicks nothing")
            << "in, press, out, flags, release" << pressed + QStringList{"MouseOut", "MouseMove 1 at 10,90", "hover 0 pressed 0", "MouseUp 1 at 10,90"};
        QTest::newRow("Space held, pointer elsewhere: repeats forwarded, one click on release")
            << "focus in, space, flags, space held, space up, flags"
            << QStringList{"KeyDown 32", "hover 1 pressed 1", "KeyDown 32", "Click", "MouseUp 1 at 0,0", "KeyUp 32",
                           "hover 0 pressed 0"};
        QTest::newRow("Enter: click on the press, none on repeats")
            << "focus in, enter, enter held, keypad enter"
            << QStringList{"Click", "KeyDown 13", "KeyUp 13", "KeyDown 13", "Click", "KeyDown 13", "KeyUp 13"};
        QTest::newRow("access key: click") << "focus away, alt g" << QStringList{"Click"};
    }

    void eventOrder()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, events);
        Setup();
        for (const QString &step : steps.split(QStringLiteral(", ")))
            Run(step);
        QCOMPARE(m_log.join(QStringLiteral(" | ")), events.join(QStringLiteral(" | ")));
    }

    // Role and press action as the window shows them are the window's test.
    void pressedThroughAssistiveTechnology()
    {
        Setup();
        m_button->SetCaption(QStringLiteral("Salt && &Pepper"));
        QAccessibleInterface *described = QAccessible::queryAccessibleInterface(m_button);
        QVERIFY(described && described->actionInterface());
        QCOMPARE(described->text(QAccessible::Name), QStringLiteral("Salt & Pepper"));
        QCOMPARE(described->text(QAccessible::Accelerator), QStringLiteral("Alt+P"));
        described->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_log, QStringList{"Click"});
        m_button->SetEnabledCtrl(false);
        QVERIFY(described->state().disabled);
        QVERIFY(!described->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        described->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_log, QStringList{"Click"});
    }

private:
    // A window with a button and a box, shown and active.
    void Setup()
    {
        // The offscreen platform warns on every pointer grab; a button must take none.
        QTest::failOnWarning(QRegularExpression("does not support grabbing"));
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(100, 100, 300, 200);
        m_button = new XpB(m_window.get());
        m_button->setGeometry(20, 20, 100, 30);
        m_button->SetCaption(QStringLiteral("&Go"));
        m_other = new QLineEdit(m_window.get());
        m_other->setGeometry(20, 100, 100, 30);
        m_log.clear();
        const auto mouse = [this](const QString &name) {
            return [this, name](short b, short, float x, float y) {
                m_log << QStringLiteral("%1 %2 at %3,%4").arg(name).arg(b).arg(x).arg(y);
            };
        };
        const auto note = [this](const char *text) { return [this, text] { m_log << QString::fromLatin1(text); }; };
        connect(m_button, &XpB::Click, this, note("Click"));
        connect(m_button, &XpB::MouseIn, this, note("MouseIn"));
        connect(m_button, &XpB::MouseOut, this, note("MouseOut"));
        connect(m_button, &XpB::MouseMove, this, mouse("MouseMove"));
        connect(m_button, &XpB::MouseDown, this, mouse("MouseDown"));
        connect(m_button, &XpB::MouseUp, this, mouse("MouseUp"));
        connect(m_button, &XpB::KeyDown, this,
                [this](short k, short) { m_log << QStringLiteral("KeyDown %1").arg(k); });
        connect(m_button, &XpB::KeyUp, this, [this](short k, short) { m_log << QStringLiteral("KeyUp %1").arg(k); });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void Key(QEvent::Type type, Qt::Key key, bool repeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"),
                        repeat);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }

    // "flags" logs the button's state; every other step acts as its name says.
    void Run(const QString &step)
    {
        QWindow *window = m_window->windowHandle();
        const QPoint at = window->mapFromGlobal(QCursor::pos());
        const Qt::Key key = step.startsWith("enter") ? Qt::Key_Return
            : step == "keypad enter"                 ? Qt::Key_Enter
                                                     : Qt::Key_Space;
        if (step == "in" || step == "out") {
            QCursor::setPos((step == "in" ? static_cast<QWidget *>(m_button) : m_other)->mapToGlobal(QPoint(10, 10)));
            // The platform queues the movement it makes of the cursor's move.
            QCoreApplication::processEvents();
        } else if (step == "press" || step == "release") {
            step == "press" ? QTest::mousePress(window, Qt::LeftButton, {}, at)
                            : QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        } else if (step.startsWith("focus ")) {
            (step == "focus in" ? static_cast<QWidget *>(m_button) : m_other)->setFocus(Qt::MouseFocusReason);
        } else if (step == "space" || step.endsWith("enter")) {
            Key(QEvent::KeyPress, key);
            if (key != Qt::Key_Space)
                Key(QEvent::KeyRelease, key);
        } else if (step == "space up") {
            Key(QEvent::KeyRelease, key);
        } else if (step.endsWith(" held")) {
            // A held key repeats as release and press pairs.
            Key(QEvent::KeyRelease, key, true);
            Key(QEvent::KeyPress, key, true);
        } else if (step == "alt g") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::AltModifier);
        } else if (step == "flags") {
            QVERIFY(!QWidget::mouseGrabber());
            m_log << QStringLiteral("hover %1 pressed %2").arg(m_button->IsHover()).arg(m_button->IsPressed());
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

    std::unique_ptr<QWidget> m_window;
    XpB *m_button = nullptr;
    QLineEdit *m_other = nullptr;
    QStringList m_log;
};

QTEST_MAIN(TestXpB)
#include "tst_xpb.moc"
