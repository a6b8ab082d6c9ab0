#include "TestFiles.h"

#include "config/BuildSettings.h"
#include "text/Cp1251.h"

#include <QtTest>

#include <csignal>

using namespace TestFiles;

namespace {

QString Dir(const QString &host) { return "http://" + host + "/userdir/4/1/8/2/418265/"; }

QByteArray Shown(const QString &path) { return QDir::toNativeSeparators(path).toUtf8(); }

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
    // Refused, or stopped by a signal between the last byte and the run's
    // end: the files are as they were (grown back, or gone again when made).
    void filesStayAsTheyWere_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("signal"); // sent while the named file's sync is held; 0: none
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("named"); // on standard error, in the home given; empty: the usage

        QTest::newRow("make-posts without url.txt") << QStringList{"make-posts"} << 0 << 1 << "url.txt";
        QTest::newRow("extract-links, home missing") << QStringList{"extract-links"} << 0 << 1 << "gone/url.txt";
        QTest::newRow("extract-links, input unreadable") << QStringList{"extract-links"} << 0 << 1
                                                         << "Cannot read standard input: ";
        QTest::newRow("extract-links with a stray argument") << QStringList{"extract-links", "x"} << 0 << 2 << QString();
        QTest::newRow("make-posts, SIGINT") << QStringList{"make-posts"} << SIGINT << 5 << "base_url.txt";
        QTest::newRow("extract-links, SIGTERM") << QStringList{"extract-links"} << SIGTERM << 5 << "url.txt";
    }

    void filesStayAsTheyWere()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, signal);
        QFETCH(int, status);
        QFETCH(QString, named);

        QTemporaryDir root;
        if (signal != 0 && arguments[0] == "make-posts")
            QVERIFY(Write(root.filePath("url.txt"), "a\r\n") && Write(root.filePath(named), "old--endanecdot-"));
        const QSet<QByteArray> before = Contents(root.path());
        const bool unreadable = named.startsWith("Cannot");
        ProgramRun program = Program(arguments, QFileInfo(root.filePath(named)).path(), Entry(Dir("h") + "a.jpg"));
        if (unreadable)
            program.InputFile(root.path()); // a folder opens but cannot be read
        const ProgramResult run = program.SignalAtSync(named, 1, signal).Run();
        QCOMPARE(run.status, status);
        QVERIFY(run.output.isEmpty());
        QVERIFY2(run.errors.startsWith("picaroon " + arguments[0].toUtf8() + ": "), run.errors.constData());
        const QString told = named.isEmpty() ? "picaroon extract-links [--home DIR] [--image-host HOST] [--account N]"
                             : unreadable    ? named
                                             : QDir::toNativeSeparators(root.filePath(named));
        QVERIFY2(run.errors.contains(told.toUtf8()), run.errors.constData());
        QCOMPARE(Contents(root.path()), before);
        QCOMPARE(QDir(root.path()).isEmpty(), before.isEmpty());
    }

    void settingsPickTheMemberOptionsWinForTheRun_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("picked"); // the address found

        const QByteArray other = "[service]\nimageHost=pics.test\n[links]\naccount=173590\n";
        QTest::newRow("no settings: the build's host and account")
            << QByteArray() << QStringList{} << Dir(BuildSettings::ImageHost) + "a.jpg";
        QTest::newRow("another member in the settings")
            << other << QStringList{} << "http://pics.test/userdir/1/7/3/5/173590/b.jpg";
        // The page comes in as UTF-8, the address goes out in Windows-1251.
        QTest::newRow("options for this run, a Cyrillic name")
            << other << QStringList{"--account", "418265", "--image-host", "h.test"} << Dir("h.test") + "кот.jpg";
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
            + Entry("http://pics.test/userdir/1/7/3/5/173590/b.jpg") + Entry(Dir("h.test") + "кот.jpg");

        const ProgramResult run = Program(QStringList{"extract-links"} + options, home.path(), page).Run();
        QCOMPARE(run.status, 0);
        QCOMPARE(run.output, "1 address appended to " + Shown(home.filePath("url.txt")) + "\n");
        QCOMPARE(Read(home.filePath("url.txt")), Cp1251::FromUnicode(picked) + "\r\n");
        options.removeOne("--image-host");
        options.removeOne("h.test");
        const ProgramResult posts = Program(QStringList{"make-posts"} + options, home.path()).Run();
        QCOMPARE(posts.status, 0);
        QCOMPARE(posts.output, "1 record appended to " + Shown(home.filePath("base_url.txt")) + "\n");
        const QString folder = picked.section('/', -2, -2) + '/';
        QVERIFY(Read(home.filePath("base_url.txt"))
                    .contains(Cp1251::FromUnicode(QString(picked).replace(folder, folder + "thumb/"))));
    }

private:
    // The settings are those in the home's config/, if any.
    static ProgramRun Program(const QStringList &arguments, const QString &home, const QByteArray &input = {})
    {
        return ProgramRun(PICAROON_BIN, arguments + QStringList{"--home", home})
            .Set("XDG_CONFIG_HOME", QDir(home).filePath("config"))
            .Input(input);
    }
};

QTEST_GUILESS_MAIN(TestLinkCommands)
#include "tst_linkcommands.moc"
