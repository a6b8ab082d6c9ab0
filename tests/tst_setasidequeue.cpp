#include "folder/SetAsideQueue.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestSetAsideQueue : public QObject
{
    Q_OBJECT

private slots:
    // A name already taken is never written over, whoever holds it.
    void returnedUnderAFreeName_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("requeue");
        QTest::addColumn<QStringList>("after"); // name=content
        QTest::addColumn<QString>("named"); // in the error; empty: all returned

        QTest::newRow("name taken: the first free number, only the chosen ones")
            << QStringList{"a.jpg", "a (2).jpg", "a.jpg_!", "b.JPG_!", "c.txt"} << QStringList{"a.jpg_!"}
            << QStringList{"a (2).jpg=a (2).jpg", "a (3).jpg=a.jpg_!", "a.jpg=a.jpg", "b.JPG_!=b.JPG_!", "c.txt=c.txt"}
            << QString();
        QTest::newRow("a numbered set-aside keeps its number")
            << QStringList{"a (2).jpg_!", "a.jpg_!"} << QStringList{"a (2).jpg_!", "a.jpg_!"}
            << QStringList{"a (2).jpg=a (2).jpg_!", "a.jpg=a.jpg_!"} << QString();
        QTest::newRow("gone meanwhile: named") << QStringList{"b.jpg_!"} << QStringList{"gone.jpg_!"}
                                               << QStringList{"b.jpg_!=b.jpg_!"} << "gone.jpg_!";
    }

    void returnedUnderAFreeName()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, requeue);
        QFETCH(QStringList, after);
        QFETCH(QString, named);
        QTemporaryDir root;
        const QDir folder(root.path());
        for (const QString &name : before)
            QVERIFY(TestFiles::Write(folder.filePath(name), name.toUtf8()));
        int returned = -1;
        QString error;
        QCOMPARE(SetAsideQueue::Requeue(root.path(), requeue, &returned, &error), named.isEmpty());
        QCOMPARE(returned, named.isEmpty() ? requeue.size() : 0);
        QVERIFY2(error.contains(named), qPrintable(error));
        QStringList found;
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            found << name + '=' + TestFiles::Read(folder.filePath(name));
        QCOMPARE(found, after);
    }

    void listsOnlySetAsidePictures()
    {
        QTemporaryDir root;
        for (const char *name : {"b.jpg_!", "a (2).JPG_!", "c.jpg", "d.txt_!", ".e.jpg_!"})
            QVERIFY(TestFiles::Write(root.filePath(name)));
        QString error;
        QCOMPARE(SetAsideQueue::Names(root.path(), &error), QStringList({"a (2).JPG_!", "b.jpg_!"}));
    }
};

QTEST_GUILESS_MAIN(TestSetAsideQueue)
#include "tst_setasidequeue.moc"
