#include "TestFiles.h"
#include "folder/FolderLock.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// The import as a script runs it: the status texts on standard output, the
// trouble on standard error, the image folder under --home. What it copies is
// the core tests' business.
class TestImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QStringList>("arguments"); // ROOT: the home folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QStringList>("errors"); // what they hold; empty: none
        QTest::addColumn<QString>("lock"); // img.lock: "held" by this process, a "pipe", or free
        const QByteArray waiting = "Ждите, идет копирование...\n";
        // The count is of the whole image folder (a, B and z), not of this import.
        QTest::newRow("copied and counted") << QStringList{"import", "ROOT/src/"} << 0
                                            << waiting + "Файлы скопированы\nНайдено файлов - 3\n" << QStringList{}
                                            << QString();
        QTest::newRow("a folder that is not there: named")
            << QStringList{"import", "ROOT/nowhere"} << 1 << waiting + "Копирование не удалось\n"
            << QStringList{"picaroon import: ", "ROOT/nowhere"} << QString();
        QTest::newRow("the folder held by another run: refused, naming it")
            << QStringList{"import", "ROOT/src"} << 7 << QByteArray()
            << QStringList{"is in use by the window (process " + QString::number(QCoreApplication::applicationPid())}
            << "held";
        QTest::newRow("a named pipe for the lock: refused without waiting")
            << QStringList{"import", "ROOT/src"} << 1 << QByteArray()
            << QStringList{"Cannot lock the image folder", "not a regular file"} << "pipe";
        const QStringList usage{"picaroon import FOLDER [--home DIR]"};
        QTest::newRow("no folder") << QStringList{"import"} << 2 << QByteArray() << usage << QString();
        QTest::newRow("empty folder name") << QStringList{"import", ""} << 2 << QByteArray() << usage << QString();
        QTest::newRow("two folders") << QStringList{"import", "ROOT/src", "ROOT/src"} << 2 << QByteArray() << usage
                                     << QString();
    }

    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QStringList, errors);
        QFETCH(QString, lock);
        QTemporaryDir root;
        FolderLock other;
        QString error;
        if (lock == "held")
            QCOMPARE(other.Take(root.path(), FolderLock::Holder::Window, &error), FolderLock::Result::Taken);
        // What a killed copy leaves, and a name it would not make.
        const QString leftover = root.filePath("img/.picaroon-copy-0123456789abcdef");
        for (const char *name : {"src/a.jpg", "src/B.JPG", "src/sub/c.jpg", "img/a.jpg", "img/z.jpg",
                                 "img/.picaroon-copy-0123456789abcdef", "img/.picaroon-copy-notes"})
            QVERIFY(TestFiles::Write(root.filePath(name)));
        if (lock == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(root.filePath("img.lock")).constData(), 0600), 0);
        QProcess process;
        process.start(PICAROON_BIN, arguments.replaceInStrings("ROOT", root.path()) + QStringList{"--home", root.path()});
        QVERIFY(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        QCOMPARE(process.readAllStandardOutput(), output);
        const QByteArray said = process.readAllStandardError();
        QVERIFY2(errors.isEmpty() == said.isEmpty(), said.constData());
        for (const QString &part : errors.replaceInStrings("ROOT", root.path()))
            QVERIFY2(said.contains(part.toUtf8()), said.constData());
        QCOMPARE(QDir(root.filePath("img")).entryList(QDir::Files).size(), exitCode == 0 ? 3 : 2);
        // Gone with the run that took the lock, and only then.
        QCOMPARE(QFile::exists(leftover), exitCode > 1 || !lock.isEmpty());
        QVERIFY(QFile::exists(root.filePath("img/.picaroon-copy-notes")));
    }
};

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
