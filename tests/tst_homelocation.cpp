#include "settings/HomeLocation.h"

#include "config/BuildSettings.h"
#include "settings/ProgramSettings.h"
#include "upload/UploadLog.h"

#include "SmallFilesystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

// Which folder holds the pictures, for each way the program can be laid out.
class TestHomeLocation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("picaroon"));
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root->filePath("data")));
    }

    void choice_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("given");
        QTest::addColumn<int>("kind");

        const int given = int(HomeLocation::Kind::Given);
        const int beside = int(HomeLocation::Kind::BesideProgram);
        const int data = int(HomeLocation::Kind::UserData);
        QTest::newRow("build folder: beside the program") << "build" << false << beside;
        QTest::newRow("installed: the user's data folder") << "installed" << false << data;
        QTest::newRow("--home wins over an installed copy") << "installed" << true << given;
        QTest::newRow("a bin folder alone is no install") << "bin only" << false << beside;
        QTest::newRow("read-only folder: the user's data folder") << "read-only" << false << data;
    }

    void choice()
    {
        QFETCH(QString, layout);
        QFETCH(bool, given);
        QFETCH(int, kind);

        SmallFilesystem disk;
        QString program = m_root->filePath("prefix/bin");
        QVERIFY(QDir().mkpath(program));
        if (layout == "installed") {
            const QString entry = QDir(program).filePath(QString::fromLatin1(BuildSettings::InstalledDesktopEntry));
            QVERIFY(QDir().mkpath(QFileInfo(entry).path()));
            QFile file(entry);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (layout == "read-only") {
            QString why;
            if (!disk.Mount(&why) || !disk.MakeReadOnly(&why))
                QSKIP(qPrintable(why));
            program = disk.Path();
        }
        const QString home = m_root->filePath("chosen home");

        const HomeLocation::Choice choice = HomeLocation::Choose(given ? home : QString(), program);
        QCOMPARE(int(choice.kind), kind);
        const QStringList folders = {home, program, m_root->filePath("data/picaroon")};
        QCOMPARE(choice.folder, folders.at(kind));
        QCOMPARE(HomeLocation::IsInstalled(program), layout == "installed");
    }

    // No folder is ever made at "/": a missing (or relative) HOME is taken
    // from the password database, relative XDG_* folders are ignored, and
    // with no home at all the folders that would lie in it are none.
    void environmentSettledAsTheXdgRulesSay_data()
    {
        QTest::addColumn<QByteArray>("home"); // "-": unset
        QTest::addColumn<QByteArray>("folders"); // every XDG_*_HOME
        QTest::addColumn<QString>("said"); // the first notice; "-": not settled

        QTest::newRow("absolute folders kept") << QByteArray("/home/m") << QByteArray("/tmp/x") << "";
        QTest::newRow("relative folders ignored")
            << QByteArray("/home/m") << QByteArray("x") << "XDG_CONFIG_HOME is not an absolute path (x): it is ignored";
        QTest::newRow("HOME unset: the password database's")
            << QByteArray("-") << QByteArray() << "HOME is not set: the home folder of the password database";
        QTest::newRow("no home anywhere: no folders") << QByteArray("-") << QByteArray() << "-";
    }

    void environmentSettledAsTheXdgRulesSay()
    {
        QFETCH(QByteArray, home);
        QFETCH(QByteArray, folders);
        QFETCH(QString, said);
        const QByteArray before = qgetenv("HOME");
        home == "-" ? qunsetenv("HOME") : qputenv("HOME", home);
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
            qputenv(name, folders);
        const QStringList notices = said == "-" ? QStringList() : HomeLocation::SettleEnvironment();
        const QString found = HomeLocation::UserHome();
        const QStringList paths{ProgramSettings::DefaultPath(), UploadLog::DefaultPath(), HomeLocation::UserDataFolder()};
        QString error;
        const bool prepared = found.isEmpty() && HomeLocation::Prepare({paths.at(2), HomeLocation::Kind::UserData}, &error);
        qputenv("HOME", before);

        QCOMPARE(notices.isEmpty(), said.isEmpty() || said == "-");
        QVERIFY2(notices.isEmpty() || notices.first().startsWith(said), qPrintable(notices.join('\n')));
        if (said == "-") {
            QVERIFY(found.isEmpty() && !prepared && error.startsWith(HomeLocation::NoHomeText()));
            QCOMPARE(paths, QStringList(3, QString()));
            return;
        }
        QCOMPARE(found, QFile::decodeName(home.startsWith('/') ? home : QByteArray(::getpwuid(::getuid())->pw_dir)));
        const QString base = folders.startsWith('/') ? QString(folders) : found;
        const bool own = folders.startsWith('/');
        QCOMPARE(paths, (QStringList{base + (own ? "" : "/.config") + "/picaroon/picaroon.conf",
                                     base + (own ? "" : "/.local/state") + "/picaroon/uploads.log",
                                     base + (own ? "" : "/.local/share") + "/picaroon"}));
    }

private:
    std::unique_ptr<QTemporaryDir> m_root;
};

QTEST_GUILESS_MAIN(TestHomeLocation)
#include "tst_homelocation.moc"
