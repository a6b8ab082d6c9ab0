#include "config/BuildSettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Lead = QStringLiteral("<a class=\"other\"></a><span><a href='");

QString Dir(const QString &host) { return "http://" + host + "/userdir/4/1/8/2/418265/"; }

QString Entry(const QString &address)
{
    return "<td><img src='" + address + "'><br>\r\n" + Lead + address + "' target='_blank'>Фото</a></span></td>\r\n";
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

// The two link commands as a script runs them: markup on standard input,
// the files in --home.
class TestLinkCommands : public QObject
{
    Q_OBJECT

private slots:
    void pageBecomesAddressesThenRecords_data();
    void pageBecomesAddressesThenRecords();
    void fileFailureIsNamed_data();
    void fileFailureIsNamed();
    void wrongUsageIsRefused_data();
    void wrongUsageIsRefused();

private:
    int Run(const QStringList &arguments, const QByteArray &input = {});

    QTemporaryDir m_home;
    QByteArray m_output;
    QByteArray m_errors;
};

int TestLinkCommands::Run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(QStringLiteral(PICAROON_BIN), arguments);
    if (!process.waitForStarted())
        return -1;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return -1;
    m_output = process.readAllStandardOutput();
    m_errors = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TestLinkCommands::pageBecomesAddressesThenRecords_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArrayList>("lines");

    const QString dir = Dir("pics.test");
    const QString friendPicture = "http://pics.test/userdir/1/7/3/5/173590/f.jpg";
    const QString page = "<html><h1>Фотоальбом</h1>" + Entry(dir + "a.jpg") + Entry(friendPicture) + Entry(dir + "b.jpg");
    const QByteArrayList both{(dir + "a.jpg").toLatin1(), (dir + "b.jpg").toLatin1()};
    QTest::newRow("image host given") << QStringList{"--image-host", "pics.test"} << page << both;
    QTest::newRow("image host of the build")
        << QStringList{} << QString(page).replace("pics.test", BuildSettings::ImageHost)
        << QByteArrayList{(Dir(BuildSettings::ImageHost) + "a.jpg").toLatin1(),
                          (Dir(BuildSettings::ImageHost) + "b.jpg").toLatin1()};
    QTest::newRow("page of another image host") << QStringList{"--image-host", "elsewhere.test"} << page
                                                << QByteArrayList{};
    QTest::newRow("run-on markup goes out in Windows-1251")
        << QStringList{"--image-host", "pics.test"} << Lead + dir + "a.png'>Фото " + Lead + dir + "b.jpg' "
        << QByteArrayList{(dir + "a.png'>").toLatin1() + "\xD4\xEE\xF2\xEE " + (Lead + dir + "b.jpg").toLatin1(),
                          (dir + "b.jpg").toLatin1()};
}

void TestLinkCommands::pageBecomesAddressesThenRecords()
{
    QFETCH(QStringList, options);
    QFETCH(QString, page);
    QFETCH(QByteArrayList, lines);

    const QString urlFile = QDir::toNativeSeparators(m_home.filePath("url.txt"));
    const QString postFile = QDir::toNativeSeparators(m_home.filePath("base_url.txt"));
    QFile::remove(urlFile);
    QFile::remove(postFile);

    QCOMPARE(Run(QStringList{"extract-links", "--home", m_home.path()} + options, page.toUtf8()), 0);
    const QString addresses = lines.size() == 1 ? "address" : "addresses";
    QCOMPARE(m_output, QStringLiteral("%1 %2 appended to %3\n").arg(lines.size()).arg(addresses, urlFile).toUtf8());
    QCOMPARE(Read(urlFile), lines.isEmpty() ? QByteArray("") : lines.join("\r\n") + "\r\n");

    QCOMPARE(Run({"make-posts", "--home", m_home.path()}), 0);
    const QString records = lines.size() == 1 ? "record" : "records";
    QCOMPARE(m_output, QStringLiteral("%1 %2 appended to %3\n").arg(lines.size()).arg(records, postFile).toUtf8());
    const QByteArray posts = Read(postFile);
    QCOMPARE(int(posts.count("--endanecdot-")), int(lines.size()));
    for (const QByteArray &line : lines) {
        QVERIFY(posts.contains(QByteArray(line).replace("418265/", "418265/thumb/") + "'>]<img src='" + line
                               + "'>[/MORE]</div>--endanecdot-"));
    }
}

void TestLinkCommands::fileFailureIsNamed_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("folder"); // made where a file should be
    QTest::addColumn<QString>("named");

    QTest::newRow("make-posts without url.txt") << "make-posts" << QString() << "url.txt";
    QTest::newRow("make-posts into a base_url.txt folder") << "make-posts" << "base_url.txt" << "base_url.txt";
    QTest::newRow("extract-links into a url.txt folder") << "extract-links" << "url.txt" << "url.txt";
}

void TestLinkCommands::fileFailureIsNamed()
{
    QFETCH(QString, command);
    QFETCH(QString, folder);
    QFETCH(QString, named);

    QTemporaryDir home;
    if (!folder.isEmpty())
        QVERIFY(QDir(home.path()).mkdir(folder));
    if (named == QLatin1String("base_url.txt"))
        QVERIFY(QFile(home.filePath("url.txt")).open(QIODevice::WriteOnly));

    QCOMPARE(Run({command, "--home", home.path()}, Entry(Dir(BuildSettings::ImageHost) + "a.jpg").toUtf8()), 1);
    QVERIFY(m_output.isEmpty());
    QVERIFY2(m_errors.contains(QDir::toNativeSeparators(home.filePath(named)).toUtf8()), m_errors.constData());
    if (named == QLatin1String("url.txt") && command == QLatin1String("make-posts"))
        QVERIFY(!QFile::exists(home.filePath("base_url.txt")));
}

void TestLinkCommands::wrongUsageIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("extract-links with a stray argument") << QStringList{"extract-links", "page.html"};
    QTest::newRow("extract-links with an unknown option") << QStringList{"extract-links", "--host", "h"};
    QTest::newRow("extract-links with an empty image host") << QStringList{"extract-links", "--image-host", ""};
    QTest::newRow("extract-links with an image host missing") << QStringList{"extract-links", "--image-host"};
    QTest::newRow("make-posts with an image host") << QStringList{"make-posts", "--image-host", "h"};
    QTest::newRow("make-posts with a stray argument") << QStringList{"make-posts", "url.txt"};
}

void TestLinkCommands::wrongUsageIsRefused()
{
    QFETCH(QStringList, arguments);

    QTemporaryDir home;
    QCOMPARE(Run(arguments + QStringList{"--home", home.path()}, Entry(Dir("h") + "a.jpg").toUtf8()), 2);
    QVERIFY(m_errors.contains("picaroon extract-links [--home DIR]"));
    QVERIFY(m_errors.contains("picaroon extract-links [--home DIR] [--image-host HOST]"));
    QVERIFY(m_errors.contains("picaroon make-posts [--home DIR]"));
    QVERIFY(QDir(home.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestLinkCommands)
#include "tst_linkcommands.moc"
