#include "controls/CommonDialog.h"

#include <QDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestCommonDialog : public QObject
{
    Q_OBJECT

private slots:
    void chosenPathIsClean_data();
    void chosenPathIsClean();
    void filterTakesTheDialogsForm_data();
    void filterTakesTheDialogsForm();
    void keepsTheSizeOfItsIcon_data();
    void keepsTheSizeOfItsIcon();
};

void TestCommonDialog::chosenPathIsClean_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("path");
    QTest::newRow("cancelled") << QString() << QString();
    QTest::newRow("root keeps its separator") << "/" << "/";
    QTest::newRow("folder without a trailing separator") << "/home/pics/" << "/home/pics";
    QTest::newRow("doubled separators") << "//home//pics" << "/home/pics";
    QTest::newRow("a NUL and what follows cut off") << u"/home/pics\0/junk  "_s << "/home/pics";
    QTest::newRow("nothing before the NUL") << u"\0/home"_s << QString();
    QTest::newRow("spaces inside a name kept") << "/home/my pics/a b.jpg" << "/home/my pics/a b.jpg";
}

void TestCommonDialog::chosenPathIsClean()
{
    QFETCH(QString, chosen);
    QFETCH(QString, path);
    QCOMPARE(CommonDialog::ChosenPath(chosen), QDir::toNativeSeparators(path));
}

void TestCommonDialog::filterTakesTheDialogsForm_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("two pairs") << u"JPEG\0*.jpg\0All\0*.*\0\0"_s << "JPEG (*.jpg);;All (*.*)";
    QTest::newRow("without the closing NUL") << u"JPEG\0*.jpg\0"_s << "JPEG (*.jpg)";
    QTest::newRow("several patterns in one pair") << u"Pictures\0*.jpg;*.jpeg\0\0"_s << "Pictures (*.jpg *.jpeg)";
    QTest::newRow("nothing after the double NUL") << u"JPEG\0*.jpg\0\0All\0*.*\0\0"_s << "JPEG (*.jpg)";
    QTest::newRow("pair without a pattern dropped") << u"JPEG\0\0"_s << "";
    QTest::newRow("no filter") << "" << "";
    QTest::newRow("already in the dialog's form") << "JPEG (*.jpg)" << "JPEG (*.jpg)";
}

void TestCommonDialog::filterTakesTheDialogsForm()
{
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(CommonDialog::QtFilter(filter), qt);
}

void TestCommonDialog::keepsTheSizeOfItsIcon_data()
{
    QTest::addColumn<QRect>("given");
    QTest::addColumn<bool>("shown");
    QTest::newRow("larger, hidden") << QRect(10, 20, 200, 100) << false;
    QTest::newRow("larger, shown") << QRect(10, 20, 200, 100) << true;
    QTest::newRow("smaller, shown") << QRect(0, 0, 5, 5) << true;
    QTest::newRow("one side only") << QRect(0, 0, 36, 80) << true;
}

void TestCommonDialog::keepsTheSizeOfItsIcon()
{
    QFETCH(QRect, given);
    QFETCH(bool, shown);
    QWidget window;
    CommonDialog *picker = new CommonDialog(&window);
    if (shown)
        window.show();
    picker->setGeometry(given);
    QCOMPARE(picker->size(), QSize(36, 36));
    QCOMPARE(picker->pos(), given.topLeft());
    picker->resize(given.size());
    QCOMPARE(picker->size(), QSize(36, 36));
    QCOMPARE(picker->focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
