#include <QDir>
#include <QFile>
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
    void failsThenImportsAndCounts()
    {
        QTemporaryDir root;
        const QDir top(root.path());
        for (const char *name : {"src/a.jpg", "src/B.JPG", "src/sub/c.jpg", "img/a.jpg", "img/z.jpg"}) {
            QFile file(top.filePath(name));
            QVERIFY(top.mkpath(QFileInfo(name).path()) && file.open(QIODevice::WriteOnly) && file.write("\xFF\xD8") == 2);
        }
        const QByteArray waiting = "Ждите, идет копирование...\n";

        QCOMPARE(Run({"import", top.filePath("nowhere"), "--home", root.path()}), 1);
        QCOMPARE(m_output, waiting + "Копирование не удалось\n");
        QVERIFY2(m_errors.startsWith("picaroon import: "), m_errors.constData());
        QVERIFY2(m_errors.contains(QDir::toNativeSeparators(top.filePath("nowhere")).toUtf8()), m_errors.constData());

        // The count is of the whole image folder under --home (a, B and z),
        // not of this import.
        QCOMPARE(Run({"import", top.filePath("src/"), "--home", root.path()}), 0);
        QCOMPARE(m_output, waiting + "Файлы скопированы\nНайдено файлов - 3\n");
        QVERIFY2(m_errors.isEmpty(), m_errors.constData());
    }

    void wrongUsageIsRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no folder") << QStringList{"import"};
        QTest::newRow("empty folder name") << QStringList{"import", ""};
        QTest::newRow("two folders") << QStringList{"import", "a", "b"};
        QTest::newRow("unknown option") << QStringList{"import", "a", "--login", "x"};
    }

    void wrongUsageIsRefused()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir home;
        QCOMPARE(Run(arguments + QStringList{"--home", home.path()}), 2);
        QVERIFY(m_output.isEmpty());
        QVERIFY2(m_errors.contains("picaroon import FOLDER [--home DIR]"), m_errors.constData());
        QVERIFY(QDir(home.path()).isEmpty());
    }

private:
    int Run(const QStringList &arguments)
    {
        QProcess process;
        process.start(PICAROON_BIN, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        m_output = process.readAllStandardOutput();
        m_errors = process.readAllStandardError();
        return process.exitCode();
    }

    QByteArray m_output;
    QByteArray m_errors;
};

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
