#include "settings/ProgramSettings.h"

#include "config/BuildSettings.h"
#include "folder/NativeName.h"

#include "SmallFilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QString System(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}

// The settings as the file holds them: what a run takes from them, what
// survives a save, and what is said when the file cannot be read or written.
class TestProgramSettings : public QObject
{
    Q_OBJECT

private slots:
    void runTakesCheckedValuesElseTheBuilds_data();
    void runTakesCheckedValuesElseTheBuilds();
    void savedValuesReadBack();
    void unreadableFileIsNeverWrittenOver_data();
    void unreadableFileIsNeverWrittenOver();
    void failedSaveNamesTheCauseAndKeepsTheOldFile_data();
    void failedSaveNamesTheCauseAndKeepsTheOldFile();
    void placeholderHostIsNotSet_data();
    void placeholderHostIsNotSet();
};

void TestProgramSettings::runTakesCheckedValuesElseTheBuilds_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("uploadHost");
    QTest::addColumn<QString>("imageHost");
    QTest::addColumn<QString>("account");
    QTest::addColumn<int>("timeout");
    QTest::addColumn<QStringList>("problems"); // the keys named

    const QString upload = QString::fromLatin1(BuildSettings::UploadHost);
    const QString image = QString::fromLatin1(BuildSettings::ImageHost);
    QTest::newRow("no file: the build's values") << QByteArray("(none)") << upload << image << "418265" << 60
                                                 << QStringList{};
    QTest::newRow("every value set")
        << QByteArray("[service]\nuploadHost=127.0.0.1:8080\nimageHost=img.example.test\n"
                      "[links]\naccount=173590\n[upload]\ntimeout=0\n")
        << "127.0.0.1:8080" << "img.example.test" << "173590" << 0 << QStringList{};
    QTest::newRow("values that do not check: the build's, each named")
        << QByteArray("[service]\nuploadHost=h:0\nimageHost=a b\n[links]\naccount=0418\n[upload]\ntimeout=2000001\n")
        << upload << image << "418265" << 60
        << QStringList{"service/uploadHost", "service/imageHost", "links/account", "upload/timeout"};
    QTest::newRow("an unquoted comma is no host")
        << QByteArray("[service]\nuploadHost=a,b\n") << upload << image << "418265" << 60
        << QStringList{"service/uploadHost"};
    QTest::newRow("unknown keys and sections are left alone")
        << QByteArray("[other]\nkey=1\n[upload]\nfuture=yes\ntimeout=5\n") << upload << image << "418265" << 5
        << QStringList{};
}

void TestProgramSettings::runTakesCheckedValuesElseTheBuilds()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, uploadHost);
    QFETCH(QString, imageHost);
    QFETCH(QString, account);
    QFETCH(int, timeout);
    QFETCH(QStringList, problems);

    QTemporaryDir folder;
    const QString path = folder.filePath("picaroon.conf");
    if (file != "(none)")
        QVERIFY(Write(path, file));
    const ProgramSettings settings(path);
    QCOMPARE(settings.UploadHost(), uploadHost);
    QCOMPARE(settings.ImageHost(), imageHost);
    QCOMPARE(settings.Account(), account);
    QCOMPARE(settings.Timeout(), timeout);
    const QStringList said = settings.Problems();
    QCOMPARE(said.size(), problems.size());
    for (qsizetype i = 0; i < said.size(); ++i) {
        QVERIFY2(said.at(i).startsWith(problems.at(i) + " in " + path + ": "), qPrintable(said.at(i)));
    }
    QCOMPARE(QFileInfo::exists(path), file != "(none)");
}

// Text with every character the file format treats specially comes back
// as it went in; a folder named in bytes that are not text is found again.
void TestProgramSettings::savedValuesReadBack()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("config/picaroon/picaroon.conf");
    const QString login = QStringLiteral("Кот \"a\", b=c; \\d #e");
    const QString importFolder = NativeName::Decode("/tmp/\xD0\xA4\xFF photos");
    {
        ProgramSettings settings(path);
        settings.Store(SettingKey::UploadHost, "[::1]:8080");
        settings.Store(SettingKey::ImageHost, "img.example.test");
        settings.Store(SettingKey::Account, "173590");
        settings.Store(SettingKey::Timeout, "15");
        settings.SetLastLogin(login);
        settings.SetWindowPosition(QPoint(-40, 1200));
        settings.SetLastImportFolder(importFolder);
        QString error;
        QVERIFY2(settings.Save(&error), qPrintable(error));
    }
    const ProgramSettings settings(path);
    QCOMPARE(settings.UploadHost(), QStringLiteral("[::1]:8080"));
    QCOMPARE(settings.ImageHost(), QStringLiteral("img.example.test"));
    QCOMPARE(settings.Account(), QStringLiteral("173590"));
    QCOMPARE(settings.Timeout(), 15);
    QCOMPARE(settings.LastLogin(), login);
    QCOMPARE(settings.WindowPosition(), std::optional<QPoint>(QPoint(-40, 1200)));
    QCOMPARE(NativeName::Encode(settings.LastImportFolder()), NativeName::Encode(importFolder));
    QVERIFY(settings.Problems().isEmpty());
}

void TestProgramSettings::unreadableFileIsNeverWrittenOver_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("cause");
    QTest::newRow("a folder in its place") << "folder" << System(EISDIR);
    QTest::newRow("a named pipe without a writer: refused, not waited on") << "pipe" << "not a regular file";
    QTest::newRow("a file where its folder should be") << "file above" << System(ENOTDIR);
    QTest::newRow("no permission to read") << "unreadable" << System(EACCES);
}

void TestProgramSettings::unreadableFileIsNeverWrittenOver()
{
    QFETCH(QString, kind);
    QFETCH(QString, cause);
    if (kind == "unreadable" && ::geteuid() == 0)
        QSKIP("root reads every file");

    QTemporaryDir folder;
    QString path = folder.filePath("picaroon.conf");
    if (kind == "folder")
        QVERIFY(QDir(folder.path()).mkdir("picaroon.conf"));
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == "file above") {
        QVERIFY(Write(folder.filePath("picaroon"), "x"));
        path = folder.filePath("picaroon/picaroon.conf");
    }
    if (kind == "unreadable") {
        QVERIFY(Write(path, "[upload]\ntimeout=5\n"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }

    ProgramSettings settings(path);
    QCOMPARE(settings.Problems(), QStringList{settings.ReadProblem()});
    QVERIFY2(settings.ReadProblem().startsWith("Cannot read " + path + ": " + cause),
             qPrintable(settings.ReadProblem()));
    QCOMPARE(settings.Timeout(), 60);
    settings.Store(SettingKey::Timeout, "7");
    QString error;
    QVERIFY(!settings.Save(&error));
    QCOMPARE(error, settings.ReadProblem());
    if (kind == "unreadable") {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(Read(path), QByteArray("[upload]\ntimeout=5\n"));
    }
}

void TestProgramSettings::failedSaveNamesTheCauseAndKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("cause");
    QTest::newRow("its folder cannot be made") << "read-only" << "Cannot create the folder" << System(EROFS);
    QTest::newRow("a read-only disk") << "read-only file" << "Cannot save the settings to" << System(EROFS);
    QTest::newRow("a full disk") << "full disk" << "Cannot save the settings to" << System(ENOSPC);
}

void TestProgramSettings::failedSaveNamesTheCauseAndKeepsTheOldFile()
{
    QFETCH(QString, trouble);
    QFETCH(QString, named);
    QFETCH(QString, cause);

    SmallFilesystem disk;
    QString why;
    if (!disk.Mount(&why))
        QSKIP(qPrintable(why));
    const bool fileThere = trouble != "read-only";
    const QString path = disk.FilePath(fileThere ? "picaroon.conf" : "picaroon/picaroon.conf");
    const QByteArray old = "[upload]\ntimeout=5\n";
    QVERIFY(!fileThere || Write(path, old));
    ProgramSettings settings(path);
    if (trouble == "full disk")
        QVERIFY(disk.Fill());
    else
        QVERIFY2(disk.MakeReadOnly(&why), qPrintable(why));
    settings.Store(SettingKey::Timeout, "7");
    settings.SetLastLogin(QString(8000, 'x'));
    QString error;
    QVERIFY(!settings.Save(&error));
    QVERIFY2(error.startsWith(named) && error.endsWith(cause), qPrintable(error));
    QVERIFY2(error.contains(fileThere ? path : disk.FilePath("picaroon")), qPrintable(error));
    if (fileThere)
        QCOMPARE(Read(path), old);
}

void TestProgramSettings::placeholderHostIsNotSet_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("set");
    QTest::newRow("the build's placeholder") << QString::fromLatin1(BuildSettings::UploadHost) << false;
    QTest::newRow("any name in the reserved domain, any case, any port") << "up.Example.INVALID:8080" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("a loopback address") << "127.0.0.1:8080" << true;
    QTest::newRow("a name that only contains the word") << "invalid.example.org" << true;
}

void TestProgramSettings::placeholderHostIsNotSet()
{
    QFETCH(QString, host);
    QFETCH(bool, set);
    QCOMPARE(ProgramSettings::IsUploadHostSet(host), set);
}

QTEST_GUILESS_MAIN(TestProgramSettings)
#include "tst_programsettings.moc"
