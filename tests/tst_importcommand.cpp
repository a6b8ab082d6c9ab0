#include "TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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
        const QByteArray waiting = "Ждите, идет копирование...\n";
        // The count is of the whole image folder (a, B and z), not of this import.
        QTest::newRow("copied and counted") << QStringList{"import", "ROOT/src/"} << 0
                                            << waiting + "Файлы скопированы\nНайдено файлов - 3\n" << QStringList{};
        QTest::newRow("a folder that is not there: named")
            << QStringList{"import", "ROOT/nowhere"} << 1 << waiting + "Копирование не удалось\n"
            << QStringList{"picaroon import: ", "ROOT/nowhere"};
        const QStringList usage{"picaroon import FOLDER [--home DIR]"};
        QTest::newRow("no folder") << QStringList{"import"} << 2 << QByteArray() << usage;
        QTest::newRow("empty folder name") << QStringList{"import", ""} << 2 << QByteArray() << usage;
        QTest::newRow("two folders") << QStringList{"import", "ROOT/src", "ROOT/src"} << 2 << QByteArray() << usage;
    }

    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QStringList, errors);
        QTemporaryDir root;
        for (const char *name : {"src/a.jpg", "src/B.JPG", "src/sub/c.jpg", "img/a.jpg", "img/z.jpg"})
            QVERIFY(TestFiles::Write(root.filePath(name)));
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
    }
};

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
