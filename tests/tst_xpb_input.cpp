#include "controls/XpB.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QtTest>

class TestXpBInput : public QObject
{
    Q_OBJECT

private slots:
    // The cursor is shared by the whole process: parked away, it cannot hover
    // a freshly shown button before the test moves it.
    void init()
    {
        // The offscreen platform warns on every pointer grab; a button must take none.
        QTest::failOnWarning(QRegularExpression("does not support grabbing"));
        QCursor::setPos(5000, 5000);
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(100, 100, 300, 200);
        m_button = new XpB(m_window.get());
        m_button->setGeometry(20, 20, 100, 30);
        m_button->SetCaption(QStringLiteral("&Go"));
        m_other = new QLineEdit(m_window.get());
        m_other->setGeometry(20, 100, 100, 30);
        m_second = new XpB(m_window.get());
        m_second->setGeometry(150, 20, 100, 30);
        m_log.clear();
        const auto mouse = [this](const QString &name) {
            return [this, name](short b, short, float x, float y) {
                m_log << QStringLiteral("%1 %2 at %3,%4").arg(name).arg(b).arg(x).arg(y);
            };
        };
        connect(m_button, &XpB::Click, this, [this] { m_log << "Click"; });
        connect(m_second, &XpB::Click, this, [this] { m_log << "Other's Click"; });
        connect(m_button, &XpB::MouseIn, this, [this](short) { m_log << "MouseIn"; });
        connect(m_button, &XpB::MouseOut, this, [this](short) { m_log << "MouseOut"; });
        connect(m_button, &XpB::MouseMove, this, mouse("MouseMove"));
        connect(m_button, &XpB::MouseDown, this, mouse("MouseDown"));
        connect(m_button, &XpB::MouseUp, this, mouse("MouseUp"));
        connect(m_button, &XpB::KeyDown, this,
                [this](short k, short) { m_log << QStringLiteral("KeyDown %1").arg(k); });
        connect(m_button, &XpB::KeyUp, this, [this](short k, short) { m_log << QStringLiteral("KeyUp %1").arg(k); });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void eventOrder_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("events");
        const QStringList entered{"MouseIn", "MouseMove 0 at 10,10"};
        const QStringList pressed = entered + QStringList{"MouseDown 1 at 10,10"};
        const QStringList draggedOut = pressed + QStringList{"MouseOut", "MouseMove 1 at 10,90"};
        QTest::newRow("press and release: Click before MouseUp, no grab at any time")
            << "in, press, flags, release, flags"
            << pressed + QStringList{"hover 1 pressed 1", "Click", "MouseUp 1 at 10,10", "hover 0 pressed 0"};
        // Out is out until the pointer comes back: no entry, no pressed face.
        QTest::newRow("dragged out and moved on: one MouseOut, face at rest, release clicks nothing")
            << "in, press, out, flags, further out, flags, release"
            << draggedOut
                + QStringList{"hover 0 pressed 0", "MouseMove 1 at 30,90", "hover 0 pressed 0", "MouseUp 1 at 30,90"};
        QTest::newRow("dragged out and back in with the button held: click")
            << "in, press, out, in, release"
            << draggedOut + QStringList{"MouseIn", "MouseMove 1 at 10,10", "Click", "MouseUp 1 at 10,10"};
        QTest::newRow("pressed after the focus cleared the hover, dragged out: face back at rest")
            << "focus away, in, focus in, flags, press, out, flags, release"
            << entered + QStringList{"hover 0 pressed 0", "MouseDown 1 at 10,10", "MouseMove 1 at 10,90",
                                     "hover 0 pressed 0", "MouseUp 1 at 10,90"};
        QTest::newRow("Space held, pointer elsewhere: repeats forwarded, one click on release")
            << "focus in, space, flags, space held, space up, flags"
            << QStringList{"KeyDown 32", "hover 1 pressed 1", "KeyDown 32", "Click", "MouseUp 1 at 0,0", "KeyUp 32",
                           "hover 0 pressed 0"};
        QTest::newRow("Space with the pointer leaving meanwhile: click")
            << "in, focus in, space, in, out, space up"
            << entered + QStringList{"KeyDown 32", "MouseOut", "Click", "MouseUp 1 at 0,0", "KeyUp 32"};
        QTest::newRow("Space released after the focus moved: nothing")
            << "in, focus in, space, focus away, flags, space up"
            << entered + QStringList{"KeyDown 32", "hover 0 pressed 0"};
        QTest::newRow("Space repeating on into another button: neither clicks")
            << "focus in, space, focus other button, space held, space up" << QStringList{"KeyDown 32"};
        QTest::newRow("Enter: click on the press, none on repeats")
            << "focus in, enter, enter held, keypad enter"
            << QStringList{"Click", "KeyDown 13", "KeyUp 13", "KeyDown 13", "Click", "KeyDown 13", "KeyUp 13"};
        QTest::newRow("access key: click") << "focus away, alt g" << QStringList{"Click"};
        QTest::newRow("access key of a disabled button: nothing") << "disable, focus away, alt g" << QStringList();
        QTest::newRow("old access key given up with the caption")
            << "caption Sto&p, focus away, alt g" << QStringList();
        QTest::newRow("hidden under the pointer: MouseOut")
            << "in, hide, flags" << entered + QStringList{"MouseOut", "hover 0 pressed 0"};
    }

    void eventOrder()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, events);
        for (const QString &step : steps.split(QStringLiteral(", ")))
            Run(step);
        QCOMPARE(m_log.join(QStringLiteral(" | ")), events.join(QStringLiteral(" | ")));
    }

    // Role and press action as the window shows them are the window's test.
    void pressedThroughAssistiveTechnology()
    {
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
        if (step == "in" || step == "out" || step == "further out") {
            QCursor::setPos(step == "in" ? m_button->mapToGlobal(QPoint(10, 10))
                                         : m_other->mapToGlobal(QPoint(step == "out" ? 10 : 30, 10)));
            // The platform queues the movement it makes of the cursor's move.
            QCoreApplication::processEvents();
        } else if (step == "press" || step == "release") {
            step == "press" ? QTest::mousePress(window, Qt::LeftButton, {}, at)
                            : QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        } else if (step.startsWith("focus ")) {
            QWidget *to = step == "focus in" ? m_button
                : step == "focus away"       ? static_cast<QWidget*>(m_other)
                                             : m_second;
            to->setFocus(Qt::MouseFocusReason);
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
        } else if (step == "disable" || step == "hide") {
            step == "hide" ? m_button->hide() : m_button->SetEnabledCtrl(false);
        } else if (step.startsWith("caption ")) {
            m_button->SetCaption(step.mid(8));
        } else if (step == "flags") {
            QVERIFY(!QWidget::mouseGrabber());
            m_log << QStringLiteral("hover %1 pressed %2").arg(m_button->IsHover()).arg(m_button->IsPressed());
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

    std::unique_ptr<QWidget> m_window;
    XpB *m_button = nullptr;
    XpB *m_second = nullptr;
    QLineEdit *m_other = nullptr;
    QStringList m_log;
};

QTEST_MAIN(TestXpBInput)
#include "tst_xpb_input.moc"
