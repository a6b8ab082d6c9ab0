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
        QTest::addColumn<QString>("named"); // the one not returned; empty: all returned

        QTest::newRow("name taken: the first free number, only the chosen ones")
            << QStringList{"a.jpg", "a (2).jpg", "a.jpg_!", "b.JPG_!", "c.txt"} << QStringList{"a.jpg_!"}
            << QStringList{"a (2).jpg=a (2).jpg", "a (3).jpg=a.jpg_!", "a.jpg=a.jpg", "b.JPG_!=b.JPG_!", "c.txt=c.txt"}
            << QString();
        QTest::newRow("a numbered set-aside keeps its number")
            << QStringList{"a (2).jpg_!", "a.jpg_!"} << QStringList{"a (2).jpg_!", "a.jpg_!"}
            << QStringList{"a (2).jpg=a (2).jpg_!", "a.jpg=a.jpg_!"} << QString();
        QTest::newRow("gone meanwhile: named, the others go all the same")
            << QStringList{"b.jpg_!"} << QStringList{"gone.jpg_!", "b.jpg_!"} << QStringList{"b.jpg=b.jpg_!"}
            << "gone.jpg_!";
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
        QStringList troubles;
        QCOMPARE(SetAsideQueue::Requeue(root.path(), requeue, &returned, &troubles), named.isEmpty());
        QCOMPARE(returned, requeue.size() - troubles.size());
        QCOMPARE(troubles.size(), named.isEmpty() ? 0 : 1);
        QVERIFY2(troubles.join('\n').contains(named), qPrintable(troubles.join('\n')));
        QStringList found;
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            found << name + '=' + TestFiles::Read(folder.filePath(name));
        QCOMPARE(found, after);
    }

    // Only set-aside pictures are taken. A name one longer than the folder
    // allows cannot take its number: that picture is named, the others go
    // back, and the exit status says so.
    void commandGoesOnPastOne()
    {
        QTemporaryDir home;
        const QString stem = QString(249, 'x') + ".jpg";
        const QStringList kept{".e.jpg_!", "c.jpg", "d.txt_!", stem, stem + "_!"};
        for (const QString &name : kept + QStringList{"z.jpg_!", "f.JPEG_!"})
            QVERIFY(TestFiles::Write(home.filePath("img/" + name)));
        const TestFiles::ProgramResult run = TestFiles::ProgramRun(PICAROON_BIN, {"requeue", "--home", home.path()}).Run();
        QCOMPARE(run.status, 6);
        QCOMPARE(run.output, QByteArray("Возвращено в очередь: 2\n"));
        QVERIFY2(run.errors.startsWith("picaroon requeue: Cannot return ") && run.errors.contains(stem.toUtf8() + "_!"),
                 run.errors.constData());
        QStringList found = QDir(home.filePath("img")).entryList(QDir::Files | QDir::Hidden), after = kept;
        after << "f.JPEG" << "z.jpg";
        found.sort();
        after.sort();
        QCOMPARE(found, after);
    }
};

QTEST_GUILESS_MAIN(TestSetAsideQueue)
#include "tst_setasidequeue.moc"
