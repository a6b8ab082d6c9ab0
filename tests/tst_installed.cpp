#include "StandinProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestFiles;

// The build installed into a folder of its own, as a package would put it
// on a member's machine, and run from there with a home of its own: no
// --home, so the installed copy must find the member's folders itself.
class TestInstalled : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const ProgramResult install = ProgramRun(CMAKE_COMMAND, {"--install", PICAROON_BUILD_DIR, "--prefix", "/usr"})
                                          .Set("DESTDIR", m_root.filePath("destdir"))
                                          .Run();
        QVERIFY2(install.status == 0, install.errors.constData());
        QVERIFY(QDir().mkpath(Home(QString())));
    }

    void uploadTakesThePicturesFromTheUserDataFolder()
    {
        QCOMPARE(Picaroon({"--version"}).output, QByteArray("picaroon " PICAROON_VERSION "\n"));
        const QString samples = m_root.filePath("samples"), store = m_root.filePath("store");
        QCOMPARE(
            ProgramRun(Installed("bin/picaroon-standin"), {"--make-samples", samples, "--count", "3"}).Run().status, 0);
        const QSet<QByteArray> pictures = Contents(samples);
        QCOMPARE(pictures.size(), 3);
        const QString img = Home(".local/share/picaroon/img");
        // The import makes the data folder on its first use.
        QVERIFY(!QFileInfo::exists(Home(".local")));
        QCOMPARE(Picaroon({"import", samples}).status, 0);
        QCOMPARE(Contents(img), pictures);

        StandinProcess standIn;
        QVERIFY(standIn.Start(Installed("bin/picaroon-standin"),
                              {"--login", "member", "--password", "secret", "--store", store}));
        // No host set yet: where to set it, and nothing leaves the folder.
        ProgramResult run = Picaroon({"upload", "--login", "member"}, "secret\n");
        QCOMPARE(run.status, 2);
        QVERIFY2(run.errors.contains("No upload server is set"), run.errors.constData());
        QVERIFY(run.errors.contains(QFile::encodeName(Home(".config/picaroon/picaroon.conf"))));
        QCOMPARE(Contents(img), pictures);

        QVERIFY(Write(Home(".config/picaroon/picaroon.conf"),
                      "[service]\nuploadHost=" + standIn.Address().toUtf8() + "\n"));
        run = Picaroon({"upload", "--login", "member"}, "secret\n");
        QCOMPARE(run.status, 0);
        QVERIFY2(run.output.endsWith("Загружено 3, отложено 0, пропущено 0\n"), run.output.constData());
        QCOMPARE(Contents(store), pictures);
        QCOMPARE(Contents(img), QSet<QByteArray>());
        QVERIFY(QFileInfo(Home(".local/state/picaroon/uploads.log")).size() > 0);
        // Nothing was put beside the installed program.
        QCOMPARE(QDir(Installed("bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"picaroon", "picaroon-standin"}));
    }

private:
    QString Installed(const QString &path) const { return m_root.filePath("destdir/usr/" + path); }
    QString Home(const QString &path) const { return m_root.filePath("home/" + path); }

    ProgramResult Picaroon(const QStringList &arguments, const QByteArray &input = {}) const
    {
        ProgramRun run(Installed("bin/picaroon"), arguments);
        for (const char *name : {"CONFIG", "DATA", "STATE", "CACHE"})
            run.Unset(QStringLiteral("XDG_%1_HOME").arg(name));
        return run.Unset("PICAROON_PASSWORD").Set("HOME", Home(QString())).Input(input).Run();
    }

    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestInstalled)
#include "tst_installed.moc"
