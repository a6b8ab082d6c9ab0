#include "TestFiles.h"

#include "config/BuildSettings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestFiles;

namespace {

QString Dir(const QString &host) { return "http://" + host + "/userdir/4/1/8/2/418265/"; }

QByteArray Entry(const QString &address)
{
    return ("<a class=\"other\"></a><span><a href='" + address + "' target='_blank'>Фото</a></span> ").toUtf8();
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
        const QString dir = Dir("pics.test"), buildDir = Dir(BuildSettings::ImageHost);
        const QByteArray page = Entry(buildDir + "x.jpg") + Entry(dir + "кот.jpg") + Entry(dir + "b.jpg");
        // The page comes in as UTF-8, the addresses go out in Windows-1251.
        const QByteArrayList lines{(buildDir + "x.jpg").toLatin1(), dir.toLatin1() + "\xEA\xEE\xF2.jpg",
                                   (dir + "b.jpg").toLatin1()};

        QCOMPARE(Run({"extract-links"}, home.path(), page).output, "1 address appended to " + urlFile + "\n");
        QCOMPARE(Run({"extract-links", "--image-host", "pics.test"}, home.path(), page).output,
                 "2 addresses appended to " + urlFile + "\n");
        QCOMPARE(Read(home.filePath("url.txt")), lines.join("\r\n") + "\r\n");
        const ProgramResult posts = Run({"make-posts"}, home.path());
        QCOMPARE(posts.output,
                 "3 records appended to " + QDir::toNativeSeparators(home.filePath("base_url.txt")).toUtf8() + "\n");
        QVERIFY(Read(home.filePath("base_url.txt"))
                    .endsWith("<img src='" + lines.constLast() + "'>[/MORE]</div>--endanecdot-"));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named"); // on standard error, in the home given; empty: the usage

        QTest::newRow("make-posts without url.txt") << QStringList{"make-posts"} << "url.txt";
        QTest::newRow("extract-links, home missing") << QStringList{"extract-links"} << "gone/url.txt";
        QTest::newRow("extract-links with a stray argument") << QStringList{"extract-links", "x"} << QString();
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);

        QTemporaryDir root;
        const ProgramResult run = Run(arguments, QFileInfo(root.filePath(named)).path(), Entry(Dir("h") + "a.jpg"));
        QCOMPARE(run.status, named.isEmpty() ? 2 : 1);
        QVERIFY(run.output.isEmpty());
        QVERIFY2(run.errors.startsWith("picaroon " + arguments[0].toUtf8() + ": "), run.errors.constData());
        const QString told = named.isEmpty() ? "picaroon extract-links [--home DIR] [--image-host HOST] [--account N]"
                                             : QDir::toNativeSeparators(root.filePath(named));
        QVERIFY2(run.errors.contains(told.toUtf8()), run.errors.constData());
        QVERIFY(QDir(root.path()).isEmpty());
    }

    void settingsPickTheMemberOptionsWinForTheRun_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("picked"); // the address found; empty: the run refused, exit 2

        const QByteArray other = "[service]\nimageHost=pics.test\n[links]\naccount=173590\n";
        QTest::newRow("another member in the settings")
            << other << QStringList{} << "http://pics.test/userdir/1/7/3/5/173590/b.jpg";
        QTest::newRow("options for this run") << other << QStringList{"--account", "418265", "--image-host", "h.test"}
                                              << "http://h.test/userdir/4/1/8/2/418265/c.jpg";
        QTest::newRow("a stored account that does not check") << QByteArray("[links]\naccount=41 82\n")
                                                              << QStringList{} << QString();
    }

    // Each command takes its own options: make-posts's --account alone.
    void settingsPickTheMemberOptionsWinForTheRun()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, options);
        QFETCH(QString, picked);

        QTemporaryDir home;
        QVERIFY(Write(home.filePath("config/picaroon/picaroon.conf"), settings));
        const QByteArray page = Entry(Dir(BuildSettings::ImageHost) + "a.jpg")
            + Entry("http://pics.test/userdir/1/7/3/5/173590/b.jpg")
            + Entry("http://h.test/userdir/4/1/8/2/418265/c.jpg");

        const ProgramResult run = Run(QStringList{"extract-links"} + options, home.path(), page);
        QCOMPARE(run.status, picked.isEmpty() ? 2 : 0);
        if (picked.isEmpty()) {
            QVERIFY2(run.errors.startsWith("picaroon extract-links: links/account in "), run.errors.constData());
            return;
        }
        QCOMPARE(Read(home.filePath("url.txt")), picked.toLatin1() + "\r\n");
        options.removeOne("--image-host");
        options.removeOne("h.test");
        QCOMPARE(Run(QStringList{"make-posts"} + options, home.path()).status, 0);
        const QString folder = picked.section('/', -2, -2) + '/';
        QVERIFY(Read(home.filePath("base_url.txt"))
                    .contains(QString(picked).replace(folder, folder + "thumb/").toLatin1()));
    }

    void unreadablePageIsNamed()
    {
        QTemporaryDir home;
        // A folder opens but cannot be read.
        const ProgramResult run
            = ProgramRun(PICAROON_BIN, {"extract-links", "--home", home.path()}).InputFile(home.path()).Run();
        QCOMPARE(run.status, 1);
        QVERIFY2(run.errors.startsWith("picaroon extract-links: Cannot read standard input: "), run.errors.constData());
        QVERIFY(QDir(home.path()).isEmpty());
    }

private:
    // The settings are those in the home's config/, if any.
    static ProgramResult Run(const QStringList &arguments, const QString &home, const QByteArray &input = {})
    {
        return ProgramRun(PICAROON_BIN, arguments + QStringList{"--home", home})
            .Set("XDG_CONFIG_HOME", QDir(home).filePath("config"))
            .Input(input)
            .Run();
    }
};

QTEST_GUILESS_MAIN(TestLinkCommands)
#include "tst_linkcommands.moc"
