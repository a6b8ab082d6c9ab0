#include "controls/XpB.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QPoint FarAway(5000, 5000);

QtMessageHandler PreviousHandler = nullptr;

// The offscreen platform warns on every pointer grab; the grab itself
// works inside Qt, which is all these tests need.
void DropGrabWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("does not support grabbing")))
        PreviousHandler(type, context, message);
}

}

class TestXpBInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void clickIsTheFirstEvent();
    void moveInPressReleaseClicksBeforeMouseUp();
    void dragOutAndRelease_data();
    void dragOutAndRelease();
    void rightButtonOnlyForwards();
    void spaceWithRepeat_data();
    void spaceWithRepeat();
    void enterOnlyForwards();
    void accessKey_data();
    void accessKey();
    void focusEnteredClearsHover();
    void focusLostWhileSpaceHeld();
    void grabGivenBackWhenDisabledOrHidden_data();
    void grabGivenBackWhenDisabledOrHidden();

private:
    void MoveTo(QWidget *widget, QPoint at = QPoint(10, 10));
    void Press(Qt::MouseButton button);
    void Release(Qt::MouseButton button);
    void Key(QEvent::Type type, Qt::Key key, bool repeat = false);

    QWidget *m_window = nullptr;
    XpB *m_button = nullptr;
    QLineEdit *m_other = nullptr;
    QStringList m_log;
};

void TestXpBInput::initTestCase()
{
    PreviousHandler = qInstallMessageHandler(DropGrabWarnings);
}

void TestXpBInput::init()
{
    QCursor::setPos(FarAway);
    m_window = new QWidget;
    m_window->setGeometry(100, 100, 300, 200);
    m_button = new XpB(m_window);
    m_button->setGeometry(20, 20, 100, 30);
    m_button->SetButtonStyle(3);
    m_button->SetCaption(QStringLiteral("&Go"));
    m_other = new QLineEdit(m_window);
    m_other->setGeometry(20, 100, 100, 30);
    m_log.clear();
    connect(m_button, &XpB::Click, this, [this] { m_log << "Click"; });
    connect(m_button, &XpB::MouseIn, this, [this](short) { m_log << "MouseIn"; });
    connect(m_button, &XpB::MouseOut, this, [this](short) { m_log << "MouseOut"; });
    connect(m_button, &XpB::MouseMove, this,
            [this](short b, short, float, float) { m_log << QStringLiteral("MouseMove %1").arg(b); });
    connect(m_button, &XpB::MouseDown, this,
            [this](short b, short, float, float) { m_log << QStringLiteral("MouseDown %1").arg(b); });
    connect(m_button, &XpB::MouseUp, this, [this](short b, short, float x, float y) {
        m_log << QStringLiteral("MouseUp %1 at %2,%3").arg(b).arg(x).arg(y);
    });
    connect(m_button, &XpB::KeyDown, this, [this](short k, short) { m_log << QStringLiteral("KeyDown %1").arg(k); });
    connect(m_button, &XpB::KeyUp, this, [this](short k, short) { m_log << QStringLiteral("KeyUp %1").arg(k); });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestXpBInput::cleanup()
{
    delete m_window;
    QCursor::setPos(FarAway);
}

void TestXpBInput::MoveTo(QWidget *widget, QPoint at)
{
    QCursor::setPos(widget->mapToGlobal(at));
    // The platform queues the movement it makes of the cursor's move.
    QCoreApplication::processEvents();
}

void TestXpBInput::Press(Qt::MouseButton button)
{
    QWindow *window = m_window->windowHandle();
    QTest::mousePress(window, button, {}, window->mapFromGlobal(QCursor::pos()));
}

void TestXpBInput::Release(Qt::MouseButton button)
{
    QWindow *window = m_window->windowHandle();
    QTest::mouseRelease(window, button, {}, window->mapFromGlobal(QCursor::pos()));
}

void TestXpBInput::Key(QEvent::Type type, Qt::Key key, bool repeat)
{
    QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), repeat);
    QApplication::sendEvent(QApplication::focusWidget(), &event);
}

void TestXpBInput::clickIsTheFirstEvent()
{
    const QMetaObject &meta = XpB::staticMetaObject;
    QCOMPARE(meta.method(meta.methodOffset()).name(), QByteArray("Click"));
}

void TestXpBInput::moveInPressReleaseClicksBeforeMouseUp()
{
    MoveTo(m_button);
    MoveTo(m_button, QPoint(12, 10));
    QCOMPARE(m_button->IsHover(), quint8(1));
    QCOMPARE(QWidget::mouseGrabber(), m_button);
    Press(Qt::LeftButton);
    QCOMPARE(m_button->IsPressed(), quint8(1));
    Release(Qt::LeftButton);
    QCOMPARE(m_log, (QStringList{"MouseIn", "MouseMove 0", "MouseMove 0", "MouseDown 1", "Click",
                                 "MouseUp 1 at 12,10"}));
    QCOMPARE(m_button->IsHover() + m_button->IsPressed(), 0);
    m_log.clear();
    MoveTo(m_button, QPoint(14, 10));
    QCOMPARE(m_log, (QStringList{"MouseIn", "MouseMove 0"}));
}

void TestXpBInput::dragOutAndRelease_data()
{
    QTest::addColumn<bool>("backIn");
    QTest::addColumn<QStringList>("afterOut");
    QTest::newRow("released outside: no click") << false << QStringList{"MouseUp 1 at 10,90"};
    QTest::newRow("back in with the button held, released: click")
        << true << QStringList{"MouseIn", "MouseMove 1", "Click", "MouseUp 1 at 10,10"};
}

void TestXpBInput::dragOutAndRelease()
{
    QFETCH(bool, backIn);
    QFETCH(QStringList, afterOut);
    MoveTo(m_button);
    Press(Qt::LeftButton);
    m_log.clear();
    MoveTo(m_other);
    QCOMPARE(m_log, (QStringList{"MouseOut", "MouseMove 1"}));
    QCOMPARE(m_button->IsPressed() + m_button->IsHover(), 0);
    QVERIFY(QWidget::mouseGrabber() != m_button);
    m_log.clear();
    if (backIn) {
        MoveTo(m_button);
        QCOMPARE(m_button->IsPressed() + m_button->IsHover(), 2);
    }
    Release(Qt::LeftButton);
    QCOMPARE(m_log, afterOut);
}

void TestXpBInput::rightButtonOnlyForwards()
{
    MoveTo(m_button);
    const QImage hovered = m_button->FaceImage();
    m_log.clear();
    Press(Qt::RightButton);
    QCOMPARE(m_button->IsPressed(), quint8(0));
    Release(Qt::RightButton);
    QCOMPARE(m_log, (QStringList{"MouseDown 2", "MouseUp 2 at 10,10"}));
    QCOMPARE(m_button->IsHover() + m_button->IsPressed(), 0);
    // Flags cleared, face not repainted: the hovered face stays.
    QCOMPARE(m_button->FaceImage(), hovered);
}

void TestXpBInput::spaceWithRepeat_data()
{
    QTest::addColumn<bool>("pointerOver");
    QTest::addColumn<QStringList>("onRelease");
    QTest::newRow("pointer elsewhere: no click") << false << QStringList{"MouseUp 1 at 0,0", "KeyUp 32"};
    QTest::newRow("pointer resting over the button: click")
        << true << QStringList{"Click", "MouseUp 1 at 0,0", "KeyUp 32"};
}

void TestXpBInput::spaceWithRepeat()
{
    QFETCH(bool, pointerOver);
    QFETCH(QStringList, onRelease);
    if (pointerOver)
        MoveTo(m_button);
    m_button->setFocus();
    m_log.clear();
    Key(QEvent::KeyPress, Qt::Key_Space);
    QCOMPARE(m_button->IsPressed() + m_button->IsHover(), 2);
    const QImage pressed = m_button->FaceImage();
    Key(QEvent::KeyRelease, Qt::Key_Space, true);
    Key(QEvent::KeyPress, Qt::Key_Space, true);
    Key(QEvent::KeyPress, Qt::Key_Space, true);
    QCOMPARE(m_log, (QStringList{"KeyDown 32", "KeyDown 32", "KeyDown 32"}));
    QCOMPARE(m_button->FaceImage(), pressed);
    m_log.clear();
    QSignalSpy mouseUp(m_button, &XpB::MouseUp);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    QCOMPARE(m_log, onRelease);
    QCOMPARE(mouseUp.at(0), (QVariantList{short(1), short(0), 0.0f, 0.0f}));
    QCOMPARE(m_button->IsPressed() + m_button->IsHover(), 0);
}

void TestXpBInput::enterOnlyForwards()
{
    MoveTo(m_button);
    m_button->setFocus();
    m_log.clear();
    const QImage before = m_button->FaceImage();
    Key(QEvent::KeyPress, Qt::Key_Return);
    Key(QEvent::KeyRelease, Qt::Key_Return);
    QCOMPARE(m_log, (QStringList{"KeyDown 13", "KeyUp 13"}));
    QCOMPARE(m_button->FaceImage(), before);
}

void TestXpBInput::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");
    QTest::newRow("enabled: one click") << "&Go" << true << 1;
    QTest::newRow("disabled: nothing") << "&Go" << false << 0;
    QTest::newRow("key moved with the caption") << "Sto&p" << true << 0;
    QTest::newRow("three ampersands") << "&&&g" << true << 1;
}

void TestXpBInput::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);
    m_button->SetCaption(caption);
    m_button->SetEnabledCtrl(enabled);
    m_other->setFocus();
    QSignalSpy click(m_button, &XpB::Click);
    QTest::keyClick(m_other, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(click.size(), clicks);
    QCOMPARE(m_button->IsPressed() + m_button->IsHover(), 0);
}

void TestXpBInput::focusEnteredClearsHover()
{
    m_other->setFocus();
    MoveTo(m_button);
    QCOMPARE(m_button->IsHover(), quint8(1));
    QTest::keyClick(m_other, Qt::Key_Tab);
    QTRY_COMPARE(m_button->HasFocus(), quint8(1));
    QCOMPARE(m_button->IsHover(), quint8(0));
    m_log.clear();
    MoveTo(m_button, QPoint(11, 10));
    QCOMPARE(m_log, (QStringList{"MouseIn", "MouseMove 0"}));
}

void TestXpBInput::focusLostWhileSpaceHeld()
{
    MoveTo(m_button);
    m_button->setFocus();
    Key(QEvent::KeyPress, Qt::Key_Space);
    m_other->setFocus();
    QCOMPARE(m_button->HasFocus() + m_button->IsPressed() + m_button->IsHover(), 0);
    m_log.clear();
    Key(QEvent::KeyRelease, Qt::Key_Space);
    QCOMPARE(m_log, QStringList());
}

void TestXpBInput::grabGivenBackWhenDisabledOrHidden_data()
{
    QTest::addColumn<bool>("hide");
    QTest::newRow("disabled") << false;
    QTest::newRow("hidden") << true;
}

void TestXpBInput::grabGivenBackWhenDisabledOrHidden()
{
    QFETCH(bool, hide);
    MoveTo(m_button);
    QCOMPARE(QWidget::mouseGrabber(), m_button);
    hide ? m_button->hide() : m_button->SetEnabledCtrl(false);
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    MoveTo(m_other);
    Press(Qt::LeftButton);
    Release(Qt::LeftButton);
    QTRY_COMPARE(QApplication::focusWidget(), m_other);
}

QTEST_MAIN(TestXpBInput)
#include "tst_xpb_input.moc"
