#include "controls/CommonDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestCommonDialog : public QObject
{
    Q_OBJECT

private slots:
    void dialogTextTakesItsForm_data()
    {
        QTest::addColumn<bool>("filter"); // else a chosen path, expected with '/' for the native separator
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected");

        QTest::newRow("path: cancelled") << false << QString() << QString();
        QTest::newRow("path: root keeps its separator") << false << "//" << "/";
        QTest::newRow("path: others lose theirs, doubled ones too") << false << "//home//my pics/" << "/home/my pics";
        QTest::newRow("path: a NUL and what follows cut off") << false << u"/home/pics\0/junk  "_s << "/home/pics";
        QTest::newRow("filter: two pairs, several patterns in one")
            << true << u"Pictures\0*.jpg;*.jpeg\0All\0*.*\0\0"_s << "Pictures (*.jpg *.jpeg);;All (*.*)";
        QTest::newRow("filter: without the closing NUL") << true << u"JPEG\0*.jpg\0"_s << "JPEG (*.jpg)";
        QTest::newRow("filter: nothing after the double NUL")
            << true << u"JPEG\0*.jpg\0\0All\0*.*\0\0"_s << "JPEG (*.jpg)";
        QTest::newRow("filter: pair without a pattern dropped") << true << u"JPEG\0\0"_s << "";
        QTest::newRow("filter: already in the dialog's form") << true << "JPEG (*.jpg)" << "JPEG (*.jpg)";
    }

    void dialogTextTakesItsForm()
    {
        QFETCH(bool, filter);
        QFETCH(QString, given);
        QFETCH(QString, expected);
        if (filter)
            QCOMPARE(CommonDialog::QtFilter(given), expected);
        else
            QCOMPARE(CommonDialog::ChosenPath(given), QDir::toNativeSeparators(expected));
    }

    // A folder of photos shows them, greyed and out of reach; other files
    // stay out, and choosing the folder itself still works.
    void folderDialogShowsThePictures()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        for (const char *name : {"a.jpg", "B.JPEG", "notes.txt"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        CommonDialog picker;
        picker.SetStartFolder(dir.path());
        QMap<QString, bool> shown; // name: can be chosen
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *view = dialog->findChild<QListView *>("listView");
            QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 3);
            for (int row = 0; row < 3; ++row) {
                const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
                shown.insert(index.data().toString(), index.flags().testFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
            }
            static_cast<QDialog *>(dialog)->accept();
        });
        QCOMPARE(picker.OpenFolder("t", nullptr), QDir::toNativeSeparators(dir.path()));
        QCOMPARE(shown, (QMap<QString, bool>{{"sub", true}, {"a.jpg", false}, {"B.JPEG", false}}));
    }
};

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
