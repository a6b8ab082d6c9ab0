#include "settings/ProgramSettings.h"

#include "config/BuildSettings.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"

#include "SmallFilesystem.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// The settings as the file holds them: what a run takes from them, what
// survives a save, and what is said when the file cannot be read or written.
class TestProgramSettings : public QObject
{
    Q_OBJECT

private slots:
    void runTakesCheckedValuesElseTheBuilds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("values"); // upload host, image host, account, timeout
        QTest::addColumn<QStringList>("problems"); // the keys named
        QTest::addColumn<bool>("hostSet");

        const QStringList builds{BuildSettings::UploadHost, BuildSettings::ImageHost, "418265", "60"};
        QTest::newRow("no file: the build's values, and none is made")
            << QByteArray() << builds << QStringList{} << false;
        QTest::newRow("every value set, unknown keys and sections left alone")
            << QByteArray("[service]\nuploadHost=invalid.example.org:8080\nimageHost=img.example.test\n[other]\n"
                          "key=1\n[links]\naccount=173590\n[upload]\nfuture=yes\ntimeout=0\n")
            << QStringList{"invalid.example.org:8080", "img.example.test", "173590", "0"} << QStringList{} << true;
        QTest::newRow("a host in the reserved domain, any case, any port, is none")
            << QByteArray("[service]\nuploadHost=up.Example.INVALID:8080\n")
            << QStringList{"up.Example.INVALID:8080", BuildSettings::ImageHost, "418265", "60"} << QStringList{}
            << false;
        QTest::newRow("values that do not check: the build's, each named")
            << QByteArray("[service]\nuploadHost=h:0\nimageHost=a b\n[links]\naccount=0418\n[upload]\ntimeout=2000001\n"
                          "connections=9\n[pictures]\nkeepLocation=yes\nmaxSide=-1\nquality=101\n")
            << builds
            << QStringList{"service/uploadHost", "service/imageHost",     "links/account",    "upload/timeout",
                           "upload/connections", "pictures/keepLocation", "pictures/maxSide", "pictures/quality"}
            << false;
    }

    void runTakesCheckedValuesElseTheBuilds()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, values);
        QFETCH(QStringList, problems);
        QFETCH(bool, hostSet);
        QTemporaryDir folder;
        const QString path = folder.filePath("picaroon.conf");
        QVERIFY(file.isEmpty() || TestFiles::Write(path, file));
        const ProgramSettings settings(path);
        QCOMPARE((QStringList{settings.UploadHost(), settings.ImageHost(), settings.Account(),
                              QString::number(settings.Timeout())}),
                 values);
        const QStringList said = settings.Problems();
        QCOMPARE(said.size(), problems.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(said.at(i).startsWith(problems.at(i) + " in " + path + ": "), qPrintable(said.at(i)));
        QCOMPARE(QFileInfo::exists(path), !file.isEmpty());
        QCOMPARE(ProgramSettings::IsUploadHostSet(settings.UploadHost()), hostSet);
    }

    // Text with every character the file format treats specially comes back
    // as it went in; a folder named in bytes that are not text is found again.
    // A link to the file stays a link, and the file it points at is saved.
    void savedValuesReadBack_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("a file of its own") << false;
        QTest::newRow("a link to a settings file elsewhere") << true;
    }

    void savedValuesReadBack()
    {
        QFETCH(bool, linked);
        QTemporaryDir folder;
        const QString path = folder.filePath("config/picaroon/picaroon.conf");
        const QString elsewhere = folder.filePath("dotfiles/picaroon.conf");
        if (linked)
            QVERIFY(TestFiles::Write(elsewhere, "; mine\n[upload]\ntimeout=9\n") && QDir().mkpath(folder.filePath("config/picaroon"))
                    && QFile::link(elsewhere, path));
        const QString login = QStringLiteral("Кот \"a\", b=c; \\d #e");
        const QByteArray importFolder = "/tmp/\xD0\xA4\xFF photos";
        {
            ProgramSettings settings(path);
            QCOMPARE(settings.Timeout(), linked ? 9 : 60);
            settings.Store(SettingKey::UploadHost, "[::1]:8080");
            settings.Store(SettingKey::Account, "173590");
            settings.Store(SettingKey::Timeout, "15");
            settings.SetLastLogin(login);
            settings.SetWindowPosition(QPoint(-40, 1200));
            settings.SetLastImportFolder(NativeName::Decode(importFolder));
            QString error;
            QVERIFY2(settings.Save(&error), qPrintable(error));
        }
        QCOMPARE(QFileInfo(path).isSymLink(), linked);
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
        const ProgramSettings settings(path);
        QCOMPARE((QVariantList{settings.UploadHost(), settings.Account(), settings.Timeout(), settings.LastLogin(),
                               settings.WindowPosition().value_or(QPoint()), NativeName::Encode(settings.LastImportFolder())}),
                 (QVariantList{"[::1]:8080", "173590", 15, login, QPoint(-40, 1200), importFolder}));
        QVERIFY(settings.Problems().isEmpty());
    }

    // What cannot be read, or does not read as settings, is never written
    // over, nor waited on; what cannot be written leaves the old file
    // whole. Either way the cause is named.
    void failedSaveKeepsTheFileAndNamesTheCause_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("cause");
        const QString noPlainFile = PlainFile::NotPlainText();
        const QString noSettings = "it is no settings file";
        QTest::newRow("a named pipe without a writer") << "pipe" << "Cannot read PATH: " << noPlainFile;
        QTest::newRow("a link to a text that is no settings") << "notes" << "Cannot read PATH: " << noSettings;
        QTest::newRow("its folder cannot be made") << "read-only" << "Cannot create the folder DIR: " << PlainFile::SystemError(EROFS);
    }

    void failedSaveKeepsTheFileAndNamesTheCause()
    {
        QFETCH(QString, trouble);
        QFETCH(QString, said);
        QFETCH(QString, cause);
        QTemporaryDir folder;
        SmallFilesystem disk;
        QString why;
        const bool onDisk = trouble == "read-only";
        if (onDisk && !disk.Mount(&why))
            QSKIP(qPrintable(why));
        const QString path = onDisk ? disk.FilePath("picaroon/picaroon.conf") : folder.filePath("picaroon.conf");
        const QString other = folder.filePath("other");
        const QByteArray old = "buy milk\n[upload]\ntimeout=5\n";
        if (trouble == "notes")
            QVERIFY(TestFiles::Write(other, old) && QFile::link(other, path));
        else if (trouble == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        ProgramSettings settings(path);
        if (onDisk)
            QVERIFY2(disk.MakeReadOnly(&why), qPrintable(why));
        else
            QCOMPARE(settings.Problems(), QStringList{settings.ReadProblem()});
        QCOMPARE(settings.Timeout(), 60);
        settings.Store(SettingKey::Timeout, "7");
        QString error;
        QVERIFY(!settings.Save(&error));
        said.replace("PATH", path).replace("DIR", disk.FilePath("picaroon"));
        QVERIFY2(error.startsWith(said) && error.endsWith(cause), qPrintable(error));
        QVERIFY(onDisk || error == settings.ReadProblem());
        if (trouble == "notes")
            QCOMPARE(TestFiles::Read(other), old);
    }
};

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
