#include "controls/XpB.h"

#include <QLineEdit>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QtTest>

class TestXpBInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void eventOrder_data();
    void eventOrder();
    void pressedThroughAssistiveTechnology_data();
    void pressedThroughAssistiveTechnology();

private:
    void Key(QEvent::Type type, Qt::Key key = Qt::Key_Space, bool repeat = false);
    void Run(const QString &step);

    QWidget *m_window = nullptr;
    XpB *m_button = nullptr;
    XpB *m_second = nullptr;
    QLineEdit *m_other = nullptr;
    QStringList m_log;
};

// The offscreen platform warns on every pointer grab; a button must take
// none, yet a test would only see the warning, not fail on it.
void TestXpBInput::initTestCase()
{
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (message.contains("does not support grabbing"))
            QFAIL("a pointer grab was taken");
        previous(type, context, message);
    });
}

// The cursor is shared by the whole process: parked away, it cannot hover
// a freshly shown button before the test moves it.
void TestXpBInput::init()
{
    QCursor::setPos(5000, 5000);
    m_window = new QWidget;
    m_window->setGeometry(100, 100, 300, 200);
    m_button = new XpB(m_window);
    m_button->setGeometry(20, 20, 100, 30);
    m_button->SetCaption(QStringLiteral("&Go"));
    m_other = new QLineEdit(m_window);
    m_other->setGeometry(20, 100, 100, 30);
    m_second = new XpB(m_window);
    m_second->setGeometry(150, 20, 100, 30);
    m_second->SetCaption(QStringLiteral("Other"));
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
    connect(m_button, &XpB::KeyDown, this, [this](short k, short) { m_log << QStringLiteral("KeyDown %1").arg(k); });
    connect(m_button, &XpB::KeyUp, this, [this](short k, short) { m_log << QStringLiteral("KeyUp %1").arg(k); });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestXpBInput::cleanup()
{
    delete m_window;
}

void TestXpBInput::Key(QEvent::Type type, Qt::Key key, bool repeat)
{
    QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"),
                    repeat);
    QApplication::sendEvent(QApplication::focusWidget(), &event);
}

// "flags" logs the button's state and whether anything holds the pointer
// grab; every other step acts as its name says.
void TestXpBInput::Run(const QString &step)
{
    QWindow *window = m_window->windowHandle();
    const QPoint at = window->mapFromGlobal(QCursor::pos());
    const Qt::MouseButton button = step.startsWith("right") ? Qt::RightButton : Qt::LeftButton;
    if (step == "in" || step == "out" || step == "further out") {
        const QPoint to = step == "in" ? m_button->mapToGlobal(QPoint(10, 10))
                                       : m_other->mapToGlobal(QPoint(step == "out" ? 10 : 30, 10));
        QCursor::setPos(to);
        // The platform queues the movement it makes of the cursor's move.
        QCoreApplication::processEvents();
    } else if (step.endsWith("press")) {
        QTest::mousePress(window, button, {}, at);
    } else if (step.endsWith("release")) {
        QTest::mouseRelease(window, button, {}, at);
    } else if (step == "focus in" || step == "focus away" || step == "focus other button") {
        QWidget *to = step == "focus in" ? m_button : step == "focus away" ? static_cast<QWidget *>(m_other) : m_second;
        to->setFocus(Qt::MouseFocusReason);
    } else if (step == "space" || step == "space up") {
        Key(step == "space" ? QEvent::KeyPress : QEvent::KeyRelease);
    } else if (step == "space held" || step == "enter held") {
        // A held key repeats as release and press pairs.
        const Qt::Key key = step == "space held" ? Qt::Key_Space : Qt::Key_Return;
        Key(QEvent::KeyRelease, key, true);
        Key(QEvent::KeyPress, key, true);
    } else if (step == "enter" || step == "keypad enter") {
        const Qt::Key key = step == "enter" ? Qt::Key_Return : Qt::Key_Enter;
        Key(QEvent::KeyPress, key);
        Key(QEvent::KeyRelease, key);
    } else if (step == "alt g") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::AltModifier);
    } else if (step == "disable" || step == "hide") {
        step == "hide" ? m_button->hide() : m_button->SetEnabledCtrl(false);
    } else if (step.startsWith("caption ")) {
        m_button->SetCaption(step.mid(8));
    } else if (step == "flags") {
        const int grab = QWidget::mouseGrabber() != nullptr;
        m_log << QStringLiteral("hover %1 pressed %2 grab %3")
                     .arg(m_button->IsHover()).arg(m_button->IsPressed()).arg(grab);
    } else {
        QFAIL(qPrintable("unknown step " + step));
    }
}

void TestXpBInput::eventOrder_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("events");
    const QStringList entered{"MouseIn", "MouseMove 0 at 10,10"};
    const QStringList pressed = entered + QStringList{"MouseDown 1 at 10,10"};
    const QStringList draggedOut = pressed + QStringList{"MouseOut", "MouseMove 1 at 10,90"};
    QTest::newRow("press and release: Click before MouseUp, no grab at any time")
        << "in, press, flags, release, flags"
        << pressed + QStringList{"hover 1 pressed 1 grab 0", "Click", "MouseUp 1 at 10,10", "hover 0 pressed 0 grab 0"};
    QTest::newRow("pointer leaves without a button held: MouseOut")
        << "in, out, flags" << entered + QStringList{"MouseOut", "hover 0 pressed 0 grab 0"};
    // Out is out until the pointer comes back: no entry, no pressed face.
    QTest::newRow("dragged out and moved on: one MouseOut, face stays at rest, release clicks nothing")
        << "in, press, out, flags, further out, flags, release"
        << draggedOut + QStringList{"hover 0 pressed 0 grab 0", "MouseMove 1 at 30,90", "hover 0 pressed 0 grab 0",
                                    "MouseUp 1 at 30,90"};
    QTest::newRow("dragged out and back in with the button held: click")
        << "in, press, out, in, release"
        << draggedOut + QStringList{"MouseIn", "MouseMove 1 at 10,10", "Click", "MouseUp 1 at 10,10"};
    QTest::newRow("pressed after the focus cleared the hover, dragged out: face back at rest")
        << "focus away, in, focus in, press, out, flags, release"
        << entered + QStringList{"MouseDown 1 at 10,10", "MouseMove 1 at 10,90", "hover 0 pressed 0 grab 0",
                                 "MouseUp 1 at 10,90"};
    QTest::newRow("focus taken while hovered clears the hover")
        << "focus away, in, focus in, flags" << entered + QStringList{"hover 0 pressed 0 grab 0"};
    QTest::newRow("right button only forwards")
        << "in, right press, flags, right release"
        << entered + QStringList{"MouseDown 2 at 10,10", "hover 1 pressed 0 grab 0", "MouseUp 2 at 10,10"};
    QTest::newRow("Space held, pointer elsewhere: repeats forwarded, one click on release")
        << "focus in, space, flags, space held, space up, flags"
        << QStringList{"KeyDown 32", "hover 1 pressed 1 grab 0", "KeyDown 32", "Click", "MouseUp 1 at 0,0", "KeyUp 32",
                       "hover 0 pressed 0 grab 0"};
    QTest::newRow("Space with the pointer resting over it: click")
        << "in, focus in, space, space up"
        << entered + QStringList{"KeyDown 32", "Click", "MouseUp 1 at 0,0", "KeyUp 32"};
    QTest::newRow("Space with the pointer leaving meanwhile: click")
        << "in, focus in, space, in, out, space up"
        << entered + QStringList{"KeyDown 32", "MouseOut", "Click", "MouseUp 1 at 0,0", "KeyUp 32"};
    QTest::newRow("Space released after the focus moved: nothing")
        << "in, focus in, space, focus away, flags, space up"
        << entered + QStringList{"KeyDown 32", "hover 0 pressed 0 grab 0"};
    QTest::newRow("Space repeating on into another button: neither clicks")
        << "focus in, space, focus other button, space held, space up" << QStringList{"KeyDown 32"};
    QTest::newRow("Enter: click on the press, none on repeats")
        << "focus in, enter, enter held, keypad enter"
        << QStringList{"Click", "KeyDown 13", "KeyUp 13", "KeyDown 13", "Click", "KeyDown 13", "KeyUp 13"};
    QTest::newRow("access key: click") << "focus away, alt g" << QStringList{"Click"};
    QTest::newRow("access key of a disabled button: nothing") << "disable, focus away, alt g" << QStringList();
    QTest::newRow("old access key given up with the caption")
        << "caption Sto&p, focus away, alt g" << QStringList();
    QTest::newRow("hidden under the pointer: MouseOut") << "in, hide, flags"
        << entered + QStringList{"MouseOut", "hover 0 pressed 0 grab 0"};
}

void TestXpBInput::eventOrder()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, events);
    for (const QString &step : steps.split(QStringLiteral(", ")))
        Run(step);
    QCOMPARE(m_log.join(QStringLiteral(" | ")), events.join(QStringLiteral(" | ")));
}

void TestXpBInput::pressedThroughAssistiveTechnology_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accelerator");
    QTest::addColumn<int>("clicks");
    QTest::newRow("access key marker dropped") << "&Go" << true << "Go" << "Alt+G" << 1;
    QTest::newRow("doubled ampersand shown as one, no key") << "Salt && Pepper" << true << "Salt & Pepper" << "" << 1;
    QTest::newRow("Cyrillic caption and key") << "За&качать" << true << "Закачать" << "Alt+К" << 1;
    QTest::newRow("disabled: named, cannot be pressed") << "&Go" << false << "Go" << "Alt+G" << 0;
}

void TestXpBInput::pressedThroughAssistiveTechnology()
{
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(QString, name);
    QFETCH(QString, accelerator);
    QFETCH(int, clicks);
    m_button->SetCaption(caption);
    m_button->SetEnabledCtrl(enabled);
    QAccessibleInterface *described = QAccessible::queryAccessibleInterface(m_button);
    QVERIFY(described);
    QCOMPARE(described->role(), QAccessible::Button);
    QCOMPARE(described->text(QAccessible::Name), name);
    QCOMPARE(described->text(QAccessible::Accelerator), accelerator);
    QCOMPARE(described->state().disabled, !enabled);
    QAccessibleActionInterface *actions = described->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()), enabled);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_log.count("Click"), clicks);
}

QTEST_MAIN(TestXpBInput)
#include "tst_xpb_input.moc"
