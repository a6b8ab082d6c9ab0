#include "settings/HomeLocation.h"

#include "config/BuildSettings.h"

#include "SmallFilesystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

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

    void dataFolderThatCannotBeMadeIsNamed()
    {
        QFile blocker(m_root->filePath("data"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QString error;
        QVERIFY(!HomeLocation::Prepare({HomeLocation::UserDataFolder(), HomeLocation::Kind::UserData}, &error));
        QCOMPARE(error, QStringLiteral("Cannot create the folder %1: %2")
                            .arg(m_root->filePath("data/picaroon"), QString::fromLocal8Bit(std::strerror(ENOTDIR))));
    }

private:
    std::unique_ptr<QTemporaryDir> m_root;
};

QTEST_GUILESS_MAIN(TestHomeLocation)
#include "tst_homelocation.moc"
