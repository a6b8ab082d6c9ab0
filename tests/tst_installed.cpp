#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString AppId = QStringLiteral("org.picaroon.Picaroon");

QSet<QByteArray> Contents(const QString &folder)
{
    QSet<QByteArray> contents;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            contents.insert(file.readAll());
    }
    return contents;
}

}

// The build installed into a folder of its own, as a package would put it
// on a member's machine, and run from there with a home of its own: no
// --home, so the installed copy must find the member's folders itself.
class TestInstalled : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyFileInItsPlace();
    void uploadTakesThePicturesFromTheUserDataFolder();

private:
    QString Installed(const QString &path) const { return m_root.filePath(QStringLiteral("destdir/usr/") + path); }
    QString Home(const QString &path) const { return m_root.filePath(QStringLiteral("home/") + path); }
    int Run(const QString &program, const QStringList &arguments, const QByteArray &input = {});

    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
    QProcess m_standIn;
    QByteArray m_output;
    QByteArray m_errors;
};

void TestInstalled::initTestCase()
{
    QVERIFY(m_root.isValid());
    QProcess install;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), m_root.filePath(QStringLiteral("destdir")));
    install.setProcessEnvironment(environment);
    install.start(QStringLiteral(CMAKE_COMMAND), {"--install", PICAROON_BUILD_DIR, "--prefix", "/usr"});
    QVERIFY(install.waitForFinished(60000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.remove(QStringLiteral("PICAROON_PASSWORD"));
    m_environment.insert(QStringLiteral("HOME"), Home(QString()));
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Home(".config"));
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), Home(".local/share"));
    m_environment.insert(QStringLiteral("XDG_STATE_HOME"), Home(".local/state"));
    m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), Home(".cache"));
    QVERIFY(QDir().mkpath(Home(QString())));
}

void TestInstalled::cleanupTestCase()
{
    m_standIn.kill();
    m_standIn.waitForFinished();
}

int TestInstalled::Run(const QString &program, const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(Installed("bin/" + program), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    m_output = process.readAllStandardOutput();
    m_errors = process.readAllStandardError();
    return process.exitCode();
}

void TestInstalled::everyFileInItsPlace()
{
    QStringList expected{"bin/picaroon",
                         "bin/picaroon-standin",
                         "share/applications/" + AppId + ".desktop",
                         "share/metainfo/" + AppId + ".metainfo.xml",
                         "share/man/man1/picaroon.1.gz",
                         "share/bash-completion/completions/picaroon",
                         "share/icons/hicolor/scalable/apps/" + AppId + ".svg"};
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected.append(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId));
    QStringList found;
    for (QDirIterator it(Installed(QString()), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        found.append(QDir(Installed(QString())).relativeFilePath(it.next()));
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);

    QCOMPARE(Run("picaroon", {"--version"}), 0);
    QCOMPARE(m_output, QByteArray("picaroon " PICAROON_VERSION "\n"));
}

void TestInstalled::uploadTakesThePicturesFromTheUserDataFolder()
{
    const QString samples = m_root.filePath("samples");
    QCOMPARE(Run("picaroon-standin", {"--make-samples", samples, "--count", "3", "--size", "64x48"}), 0);
    const QSet<QByteArray> pictures = Contents(samples);
    QCOMPARE(pictures.size(), 3);
    const QString img = Home(".local/share/picaroon/img");
    QVERIFY(!QFileInfo::exists(Home(".local")));
    // The import makes the data folder on its first use.
    QCOMPARE(Run("picaroon", {"import", samples}), 0);
    QCOMPARE(Contents(img), pictures);

    m_standIn.start(Installed("bin/picaroon-standin"),
                    {"--port", "0", "--login", "member", "--password", "secret", "--store", m_root.filePath("store")});
    QVERIFY(m_standIn.waitForReadyRead(10000));
    const QByteArray listening = m_standIn.readLine().trimmed();
    QVERIFY2(listening.startsWith("listening on 127.0.0.1:"), listening.constData());
    const QByteArray port = listening.mid(listening.lastIndexOf(':') + 1);

    // No host set yet: where to set it, and nothing leaves the folder.
    QCOMPARE(Run("picaroon", {"upload", "--login", "member"}, "secret\n"), 2);
    QVERIFY2(m_errors.contains("Сервер загрузки не задан"), m_errors.constData());
    QVERIFY(m_errors.contains(QFile::encodeName(Home(".config/picaroon/picaroon.conf"))));
    QCOMPARE(Contents(img), pictures);

    QVERIFY(QDir().mkpath(Home(".config/picaroon")));
    QFile settings(Home(".config/picaroon/picaroon.conf"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    QVERIFY(settings.write("[service]\nuploadHost=127.0.0.1:" + port + "\n") > 0);
    settings.close();
    QCOMPARE(Run("picaroon", {"upload", "--login", "member"}, "secret\n"), 0);
    QVERIFY2(m_output.endsWith("Загружено 3, отложено 0, пропущено 0\n"), m_output.constData());
    QCOMPARE(Contents(m_root.filePath("store")), pictures);
    QCOMPARE(Contents(img), QSet<QByteArray>());
    QCOMPARE(QFile(Home(".local/state/picaroon/uploads.log")).size() > 0, true);
    // Nothing was put beside the installed program.
    QCOMPARE(QDir(Installed("bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"picaroon", "picaroon-standin"}));
}

QTEST_GUILESS_MAIN(TestInstalled)
#include "tst_installed.moc"
