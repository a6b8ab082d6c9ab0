#include "TestFiles.h"
#include "folder/FolderLock.h"

#include <QtTest>

#include <csignal>
#include <sys/stat.h>

using namespace TestFiles;

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
        QTest::addColumn<int>("signal"); // sent while the third copy is held; 0: none
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QStringList>("errors"); // what they hold; empty: none
        QTest::addColumn<QString>("lock"); // img.lock: "held" by this process, a "pipe", or free
        QTest::addColumn<QStringList>("image"); // img afterwards, hidden files too
        const QByteArray waiting = "Ждите, идет копирование...\n";
        // A killed copy's leftover goes with the run that takes the lock, and
        // only then; a name a copy would not make stays.
        const QString leftover = ".picaroon-copy-0123456789abcdef", foreign = ".picaroon-copy-notes";
        const QStringList before{leftover, foreign, "a.jpg", "z.jpg"};
        // The count is of the whole image folder, not of this import.
        QTest::newRow("copied and counted, the queued one once, z kept beside its namesake")
            << QStringList{"import", "ROOT/src/"} << 0 << 0
            << waiting + "Файлы скопированы\nНайдено файлов - 4 (уже в очереди: 1)\n" << QStringList{} << QString()
            << QStringList{foreign, "B.JPEG", "a.jpg", "z (2).jpg", "z.jpg"};
        // A signal is the Stop: the picture copied whole stays, the one held
        // between its last byte and its name leaves nothing behind.
        for (int signal : {SIGINT, SIGTERM})
            QTest::addRow("stopped by signal %d mid-copy", signal)
                << QStringList{"import", "ROOT/src"} << signal << 5 << waiting + "Остановлено\n"
                << QStringList{"picaroon import: Stopped while copying ROOT/src/z.jpg",
                               "(the picture copied before it stays in the image folder)"}
                << QString() << QStringList{foreign, "B.JPEG", "a.jpg", "z.jpg"};
        QTest::newRow("a folder that is not there: named")
            << QStringList{"import", "ROOT/nowhere"} << 0 << 1 << waiting + "Копирование не удалось\n"
            << QStringList{"picaroon import: ", "ROOT/nowhere"} << QString() << before.mid(1);
        QTest::newRow("the folder held by another run: refused, naming it")
            << QStringList{"import", "ROOT/src"} << 0 << 7 << QByteArray()
            << QStringList{"is in use by the window (process " + QString::number(QCoreApplication::applicationPid())}
            << "held" << before;
        QTest::newRow("a named pipe for the lock: refused without waiting")
            << QStringList{"import", "ROOT/src"} << 0 << 1 << QByteArray()
            << QStringList{"Cannot lock the image folder", "not a regular file"} << "pipe" << before;
        const QStringList usage{"picaroon import FOLDER [--home DIR]"};
        QTest::newRow("no folder") << QStringList{"import"} << 0 << 2 << QByteArray() << usage << QString() << before;
        QTest::newRow("empty folder name")
            << QStringList{"import", ""} << 0 << 2 << QByteArray() << usage << QString() << before;
    }

    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, signal);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QStringList, errors);
        QFETCH(QString, lock);
        QFETCH(QStringList, image);
        QTemporaryDir root;
        FolderLock other;
        QString error;
        if (lock == "held")
            QCOMPARE(other.Take(root.path(), FolderLock::Holder::Window, &error), FolderLock::Result::Taken);
        for (const char *name : {"src/a.jpg", "src/sub/c.jpg", "img/a.jpg", "img/z.jpg",
                                 "img/.picaroon-copy-0123456789abcdef", "img/.picaroon-copy-notes"})
            QVERIFY(Write(root.filePath(name)));
        QVERIFY(Write(root.filePath("src/B.JPEG"), "B") && Write(root.filePath("src/z.jpg"), "z"));
        if (lock == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(root.filePath("img.lock")).constData(), 0600), 0);
        const ProgramResult result
            = ProgramRun(PICAROON_BIN, arguments.replaceInStrings("ROOT", root.path()) + QStringList{"--home", root.path()})
                  .SignalAtSync(".picaroon-copy-", 3, signal)
                  .Run();
        QCOMPARE(result.status, exitCode);
        QCOMPARE(result.output, output);
        QVERIFY2(errors.isEmpty() == result.errors.isEmpty(), result.errors.constData());
        for (const QString &part : errors.replaceInStrings("ROOT", root.path()))
            QVERIFY2(result.errors.contains(part.toUtf8()), result.errors.constData());
        QCOMPARE(QDir(root.filePath("img")).entryList(QDir::Files | QDir::Hidden, QDir::Name), image);
    }
};

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
