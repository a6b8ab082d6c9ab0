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
    void keepsTheSizeOfItsIcon();
};

void TestCommonDialog::chosenPathIsClean_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("path");
    QTest::newRow("cancelled") << QString() << QString();
    QTest::newRow("root keeps its separator") << "//" << "/";
    QTest::newRow("others lose theirs, doubled ones too") << "//home//my pics/" << "/home/my pics";
    QTest::newRow("a NUL and what follows cut off") << u"/home/pics\0/junk  "_s << "/home/pics";
    QTest::newRow("nothing before the NUL") << u"\0/home"_s << QString();
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
    QTest::newRow("two pairs, several patterns in one")
        << u"Pictures\0*.jpg;*.jpeg\0All\0*.*\0\0"_s << "Pictures (*.jpg *.jpeg);;All (*.*)";
    QTest::newRow("without the closing NUL") << u"JPEG\0*.jpg\0"_s << "JPEG (*.jpg)";
    QTest::newRow("nothing after the double NUL") << u"JPEG\0*.jpg\0\0All\0*.*\0\0"_s << "JPEG (*.jpg)";
    QTest::newRow("pair without a pattern dropped") << u"JPEG\0\0"_s << "";
    QTest::newRow("already in the dialog's form") << "JPEG (*.jpg)" << "JPEG (*.jpg)";
}

void TestCommonDialog::filterTakesTheDialogsForm()
{
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(CommonDialog::QtFilter(filter), qt);
}

void TestCommonDialog::keepsTheSizeOfItsIcon()
{
    QWidget window;
    CommonDialog *picker = new CommonDialog(&window);
    window.show();
    picker->setGeometry(10, 20, 200, 100);
    QCOMPARE(picker->geometry(), QRect(10, 20, 36, 36));
    picker->resize(5, 5);
    QCOMPARE(picker->size(), QSize(36, 36));
    QCOMPARE(picker->focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
