#include "XpBTestKit.h"

#include "app/Main.h"

#include <QTemporaryDir>
#include <QtTest>


namespace {

// Everything drawn at 1x and scaled up comes in uniform 2 x 2 blocks.
bool Blocky(const QImage &image, const QRect &area)
{
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                return false;
        }
    }
    return true;
}

QRect Scaled(const EdgeRect &r)
{
    return QRect(QPoint(2 * r.Left, 2 * r.Top), QPoint(2 * r.Right - 1, 2 * r.Bottom - 1));
}

}

// On a screen twice as dense, what the buttons and the window draw must be
// drawn in the screen's pixels, not drawn at 1x and blown up.
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

    // The window's own pictures are drawn from their double-size drawings.
    void windowButtonsAtScreenResolution()
    {
        QTemporaryDir home;
        Main::Options options;
        options.home = home.path();
        Main window(options);
        window.Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QList<std::pair<XpB *, QColor>> pictures{{window.Start(), QColor(0, 150, 40)},
                                                       {window.StopB(), QColor(220, 30, 30)},
                                                       {window.XpB1(), QColor(226, 190, 130)}};
        for (const auto &[xpb, colour] : pictures) {
            xpb->show();
            const QImage face = xpb->FaceImage();
            QCOMPARE(face.size(), xpb->size() * 2);
            QCOMPARE(xpb->grab().toImage().size(), face.size());
            const QRect picture = Scaled(xpb->PictureRect());
            int found = 0;
            for (int y = picture.top(); y <= picture.bottom(); ++y) {
                for (int x = picture.left(); x <= picture.right(); ++x)
                    found += face.pixelColor(x, y).rgb() == colour.rgb();
            }
            QVERIFY2(found >= 64, qPrintable(QStringLiteral("%1: %2 pixels of the picture").arg(xpb->objectName()).arg(found)));
            QVERIFY(!Blocky(face, picture));
            QVERIFY(!Blocky(face, Scaled(xpb->CaptionRect())));
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
