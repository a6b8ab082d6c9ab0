#include "XpBTestKit.h"

#include <QtTest>

// On a screen twice as dense, a button must be drawn in the screen's
// pixels, not drawn at 1x and blown up.
class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    }

    // Raised border and gradient outline alike.
    void faceLinesAreOneScreenPixel()
    {
        for (int style : {0, 3}) {
            std::unique_ptr<XpB> button(XpBTestKit::MakeButton(style, 60, 24));
            // At rest: focus would draw the ring next to the outline.
            button->setFocusPolicy(Qt::NoFocus);
            button->show();
            QVERIFY(QTest::qWaitForWindowExposed(button.get()));
            const QImage shown = button->grab().toImage();
            QCOMPARE(shown.size(), QSize(120, 48));
            QVERIFY(shown.pixel(60, 0) != shown.pixel(60, 1) && shown.pixel(0, 24) != shown.pixel(1, 24));
        }
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
