#include "config/BuildSettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Dir(const QString &host) { return "http://" + host + "/userdir/4/1/8/2/418265/"; }

QString Entry(const QString &address)
{
    return "<a class=\"other\"></a><span><a href='" + address + "' target='_blank'>Фото</a></span> ";
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

// The two link commands as a script runs them: markup on standard input,
// the files in --home. What they find and write is the core tests' business.
class TestLinkCommands : public QObject
{
    Q_OBJECT

private slots:
    void pageBecomesAddressesThenRecords()
    {
        QTemporaryDir home;
        const QByteArray urlFile = QDir::toNativeSeparators(home.filePath("url.txt")).toUtf8();
        const QByteArray postFile = QDir::toNativeSeparators(home.filePath("base_url.txt")).toUtf8();
        const QString dir = Dir("pics.test"), buildDir = Dir(BuildSettings::ImageHost);
        const QString page = Entry(buildDir + "x.jpg") + Entry(dir + "кот.jpg") + Entry(dir + "b.jpg");
        // The page comes in as UTF-8, the addresses go out in Windows-1251.
        const QByteArrayList lines{(buildDir + "x.jpg").toLatin1(), dir.toLatin1() + "\xEA\xEE\xF2.jpg",
                                   (dir + "b.jpg").toLatin1()};

        QCOMPARE(Run({"extract-links", "--home", home.path()}, "<p>"), 0);
        QCOMPARE(m_output, "0 addresses appended to " + urlFile + "\n");
        QVERIFY(QFile::exists(home.filePath("url.txt")));
        QCOMPARE(Run({"extract-links", "--home", home.path()}, page), 0);
        QCOMPARE(m_output, "1 address appended to " + urlFile + "\n");
        QCOMPARE(Run({"make-posts", "--home", home.path()}), 0);
        QCOMPARE(m_output, "1 record appended to " + postFile + "\n");
        QCOMPARE(Run({"extract-links", "--home", home.path(), "--image-host", "pics.test"}, page), 0);
        QCOMPARE(m_output, "2 addresses appended to " + urlFile + "\n");
        QCOMPARE(Read(home.filePath("url.txt")), lines.join("\r\n") + "\r\n");

        // make-posts reads url.txt whole every time.
        QCOMPARE(Run({"make-posts", "--home", home.path()}), 0);
        QCOMPARE(m_output, "3 records appended to " + postFile + "\n");
        const QByteArray posts = Read(home.filePath("base_url.txt"));
        QVERIFY(posts.endsWith("<img src='" + lines.constLast() + "'>[/MORE]</div>--endanecdot-"));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named"); // on standard error, in the home given; empty: the usage

        QTest::newRow("make-posts without url.txt") << QStringList{"make-posts"} << "url.txt";
        QTest::newRow("extract-links, home missing") << QStringList{"extract-links"} << "gone/url.txt";
        QTest::newRow("extract-links with a stray argument") << QStringList{"extract-links", "x"} << QString();
        QTest::newRow("extract-links with an empty image host")
            << QStringList{"extract-links", "--image-host", ""} << QString();
        QTest::newRow("make-posts with a stray argument") << QStringList{"make-posts", "x"} << QString();
        QTest::newRow("make-posts with an image host") << QStringList{"make-posts", "--image-host", "h"} << QString();
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);

        QTemporaryDir root;
        const QString home = QFileInfo(root.filePath(named)).path();
        QCOMPARE(Run(arguments + QStringList{"--home", home}, Entry(Dir("h") + "a.jpg")), named.isEmpty() ? 2 : 1);
        QVERIFY(m_output.isEmpty());
        QVERIFY2(m_errors.startsWith("picaroon " + arguments[0].toUtf8() + ": "), m_errors.constData());
        const QString told = named.isEmpty() ? "picaroon extract-links [--home DIR] [--image-host HOST] [--account N]"
                                             : QDir::toNativeSeparators(root.filePath(named));
        QVERIFY2(m_errors.contains(told.toUtf8()), m_errors.constData());
        QVERIFY(QDir(root.path()).isEmpty());
    }

    void settingsPickTheMemberOptionsWinForTheRun_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("picked"); // the address found; empty: the run refused, exit 2
        QTest::addColumn<QByteArray>("said");

        const QByteArray other = "[service]\nimageHost=pics.test\n[links]\naccount=173590\n";
        QTest::newRow("another member in the settings")
            << other << QStringList{} << "http://pics.test/userdir/1/7/3/5/173590/b.jpg" << QByteArray();
        QTest::newRow("options for this run")
            << other << QStringList{"--account", "418265", "--image-host", "h.test"}
            << "http://h.test/userdir/4/1/8/2/418265/c.jpg" << QByteArray();
        QTest::newRow("a stored account that does not check")
            << QByteArray("[links]\naccount=41 82\n") << QStringList{} << QString()
            << QByteArray("picaroon extract-links: links/account in ");
        QTest::newRow("an account option that does not check")
            << QByteArray() << QStringList{"--account", "-5"} << QString()
            << QByteArray("picaroon extract-links: --account: номер учётной записи");
        QTest::newRow("an image host option that does not check")
            << QByteArray() << QStringList{"--image-host", "h.test/x"} << QString()
            << QByteArray("picaroon extract-links: --image-host: ");
    }

    // Each command takes its own options: make-posts's --account alone.
    void settingsPickTheMemberOptionsWinForTheRun()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, options);
        QFETCH(QString, picked);
        QFETCH(QByteArray, said);

        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath("config/picaroon"));
        QFile file(home.filePath("config/picaroon/picaroon.conf"));
        QVERIFY(settings.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(settings) == settings.size()));
        file.close();
        m_environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        const QString page = Entry(Dir(BuildSettings::ImageHost) + "a.jpg")
            + Entry("http://pics.test/userdir/1/7/3/5/173590/b.jpg")
            + Entry("http://h.test/userdir/4/1/8/2/418265/c.jpg");

        const int status = Run(QStringList{"extract-links", "--home", home.path()} + options, page);
        QCOMPARE(status, picked.isEmpty() ? 2 : 0);
        QVERIFY2(said.isEmpty() ? m_errors.isEmpty() : m_errors.startsWith(said), m_errors.constData());
        if (picked.isEmpty())
            return;
        QCOMPARE(Read(home.filePath("url.txt")), picked.toLatin1() + "\r\n");
        options.removeOne("--image-host");
        options.removeOne("h.test");
        QCOMPARE(Run(QStringList{"make-posts", "--home", home.path()} + options), 0);
        const QString folder = picked.section('/', -2, -2) + '/';
        const QByteArray thumb = QString(picked).replace(folder, folder + "thumb/").toLatin1();
        QVERIFY(Read(home.filePath("base_url.txt")).contains(thumb));
    }

    void unreadablePageIsNamed()
    {
        QTemporaryDir home;
        QProcess process;
        process.setStandardInputFile(home.path()); // a folder opens but cannot be read
        process.start(PICAROON_BIN, {"extract-links", "--home", home.path()});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(errors.startsWith("picaroon extract-links: Cannot read standard input: "), errors.constData());
        QVERIFY(QDir(home.path()).isEmpty());
    }

private:
    int Run(const QStringList &arguments, const QString &input = {})
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.start(PICAROON_BIN, arguments);
        process.waitForStarted();
        process.write(input.toUtf8());
        process.closeWriteChannel();
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        m_output = process.readAllStandardOutput();
        m_errors = process.readAllStandardError();
        return process.exitCode();
    }

    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QByteArray m_output;
    QByteArray m_errors;
};

QTEST_GUILESS_MAIN(TestLinkCommands)
#include "tst_linkcommands.moc"
