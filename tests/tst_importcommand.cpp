#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Waiting = "Ждите, идет копирование...\n";

// "a.jpg" is a picture, "d/" a folder, "d/a.jpg" a picture in it.
bool Make(const QDir &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        if (!root.mkpath(entry.endsWith('/') ? entry : QFileInfo(entry).path()))
            return false;
        QFile file(root.filePath(entry));
        if (!entry.endsWith('/') && !(file.open(QIODevice::WriteOnly) && file.write("\xFF\xD8" + entry.toUtf8()) > 0))
            return false;
    }
    return true;
}

}

// The import as a script runs it: the status texts on standard output, the
// trouble on standard error, the image folder under --home.
class TestImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void importsAndCounts_data();
    void importsAndCounts();
    void wrongUsageIsRefused_data();
    void wrongUsageIsRefused();

private:
    int Run(const QStringList &arguments);

    QByteArray m_output;
    QByteArray m_errors;
};

int TestImportCommand::Run(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(PICAROON_BIN), arguments);
    if (!process.waitForStarted() || !process.waitForFinished(60000))
        return -1;
    m_output = process.readAllStandardOutput();
    m_errors = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestImportCommand::importsAndCounts_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("home"); // what is there before
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("named"); // on standard error
    QTest::addColumn<QStringList>("pictures"); // in img afterwards

    const QStringList pictures{"src/a.jpg", "src/B.JPG", "src/sub/c.jpg", "src/d.txt"};
    QTest::newRow("one already there: the count is of the whole image folder")
        << "src" << pictures + QStringList{"img/a.jpg", "img/z.jpg"} << 0
        << Waiting + "Файлы скопированы\nНайдено файлов - 3\n" << QString() << QStringList{"a.jpg", "B.JPG", "z.jpg"};
    QTest::newRow("image folder made when missing, folder with a trailing separator")
        << "src/" << pictures << 0 << Waiting + "Файлы скопированы\nНайдено файлов - 2\n" << QString()
        << QStringList{"a.jpg", "B.JPG"};
    QTest::newRow("no picture: the copy failed") << "src/sub/.." << QStringList{"src/sub/c.jpg", "img/z.jpg"} << 1
                                                 << Waiting + "Копирование не удалось\n" << "src"
                                                 << QStringList{"z.jpg"};
    QTest::newRow("missing folder") << "nowhere" << QStringList{} << 1 << Waiting + "Копирование не удалось\n"
                                    << "nowhere" << QStringList{};
    QTest::newRow("replace blocked: the earlier copy stays")
        << "src" << pictures + QStringList{"img/B.JPG/x"} << 1 << Waiting + "Копирование не удалось\n"
        << "img/B.JPG" << QStringList{"a.jpg"};
}

void TestImportCommand::importsAndCounts()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, home);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QString, named);
    QFETCH(QStringList, pictures);

    QTemporaryDir root;
    QVERIFY(Make(QDir(root.path()), home));
    QCOMPARE(Run({"import", root.filePath(folder), "--home", root.path()}), status);
    QCOMPARE(m_output, output);
    if (named.isEmpty()) {
        QVERIFY2(m_errors.isEmpty(), m_errors.constData());
    } else {
        QVERIFY2(m_errors.startsWith("picaroon import: "), m_errors.constData());
        QVERIFY2(m_errors.contains(QDir::toNativeSeparators(root.filePath(named)).toUtf8()), m_errors.constData());
    }
    QDir img(root.filePath("img"));
    img.setSorting(QDir::Name | QDir::IgnoreCase);
    QCOMPARE(img.entryList({"*.jpg"}, QDir::Files), pictures);
}

void TestImportCommand::wrongUsageIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no folder") << QStringList{"import"};
    QTest::newRow("empty folder name") << QStringList{"import", ""};
    QTest::newRow("two folders") << QStringList{"import", "a", "b"};
    QTest::newRow("unknown option") << QStringList{"import", "a", "--login", "x"};
}

void TestImportCommand::wrongUsageIsRefused()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir home;
    QCOMPARE(Run(arguments + QStringList{"--home", home.path()}), 2);
    QVERIFY(m_output.isEmpty());
    QVERIFY2(m_errors.contains("picaroon import FOLDER [--home DIR]"), m_errors.constData());
    QVERIFY(QDir(home.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
