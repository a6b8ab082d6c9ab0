#include "folder/SetAsideQueue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSetAsideQueue : public QObject
{
    Q_OBJECT

private slots:
    void returnedUnderAFreeName_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("requeue");
        QTest::addColumn<QStringList>("after"); // name=content

        QTest::newRow("back to its own name") << QStringList{"a.jpg_!", "b.txt"} << QStringList{"a.jpg_!"}
                                              << QStringList{"a.jpg=a.jpg_!", "b.txt=b.txt"};
        QTest::newRow("name taken: the first free number")
            << QStringList{"a.jpg", "a (2).jpg", "a.jpg_!"} << QStringList{"a.jpg_!"}
            << QStringList{"a (2).jpg=a (2).jpg", "a (3).jpg=a.jpg_!", "a.jpg=a.jpg"};
        QTest::newRow("a numbered set-aside keeps its number")
            << QStringList{"a (2).jpg_!", "a.jpg_!"} << QStringList{"a (2).jpg_!", "a.jpg_!"}
            << QStringList{"a (2).jpg=a (2).jpg_!", "a.jpg=a.jpg_!"};
        QTest::newRow("only the chosen ones")
            << QStringList{"a.jpg_!", "b.JPG_!"} << QStringList{"b.JPG_!"}
            << QStringList{"a.jpg_!=a.jpg_!", "b.JPG=b.JPG_!"};
    }

    void returnedUnderAFreeName()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, requeue);
        QFETCH(QStringList, after);

        QTemporaryDir root;
        const QDir folder(root.path());
        for (const QString &name : before) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name.toUtf8()) > 0);
        }
        int returned = -1;
        QString error;
        QVERIFY2(SetAsideQueue::Requeue(root.path(), requeue, &returned, &error), qPrintable(error));
        QCOMPARE(returned, requeue.size());
        QStringList found;
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            found << name + '=' + QString::fromUtf8(file.readAll());
        }
        QCOMPARE(found, after);
    }

    void listsOnlySetAsidePictures()
    {
        QTemporaryDir root;
        for (const char *name : {"b.jpg_!", "a (2).JPG_!", "c.jpg", "d.txt_!", ".e.jpg_!"}) {
            QFile file(QDir(root.path()).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QString error;
        QCOMPARE(SetAsideQueue::Names(root.path(), &error), QStringList({"a (2).JPG_!", "b.jpg_!"}));
    }

    void missingPictureIsNamed()
    {
        QTemporaryDir root;
        int returned = -1;
        QString error;
        QVERIFY(!SetAsideQueue::Requeue(root.path(), {"gone.jpg_!"}, &returned, &error));
        QCOMPARE(returned, 0);
        QVERIFY2(error.contains("gone.jpg_!") && error.contains("No such file"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestSetAsideQueue)
#include "tst_setasidequeue.moc"
