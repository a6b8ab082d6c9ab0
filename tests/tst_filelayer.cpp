#include "folder/NativeName.h"
#include "folder/PlainFile.h"
#include "linktools/LinkExtractor.h"
#include "linktools/PostMarkup.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

// Every open of the program goes through PlainFile, every name through
// NativeName: what it refuses, and that a path named in bytes that are not
// text leads to its own file.
class TestFileLayer : public QObject
{
    Q_OBJECT

private slots:
    void bytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");

        QTest::newRow("plain ASCII") << QByteArray("a (2).jpg_!") << true;
        QTest::newRow("Cyrillic") << QByteArray("\xD0\xBA\xD0\xBE\xD1\x82.jpg") << true;
        QTest::newRow("Windows-1251 bytes") << QByteArray("\xEA\xEE\xF2.jpg") << false;
        QTest::newRow("lone continuation byte") << QByteArray("a\x80" "b") << false;
        QTest::newRow("cut off at the end") << QByteArray("photo\xE2\x82") << false;
    }

    void bytesRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);

        const QString name = NativeName::Decode(bytes);
        QCOMPARE(NativeName::Encode(name), bytes);
        if (valid) {
            QCOMPARE(name, QString::fromUtf8(bytes));
        }
        const QString shown = NativeName::Displayable(name);
        QCOMPARE(shown.toUtf8().contains("\xEF\xBF\xBD"), !valid);
        QVERIFY(shown.isValidUtf16());
    }

    // Two different byte names must never meet in one text, or one picture
    // could be deleted for another.
    void differentBytesStayDifferent()
    {
        const QByteArrayList names = {"\xFF.jpg", "\xFE.jpg", "\xEF\xBF\xBD.jpg", "?.jpg", "\xED\xB3\xBF.jpg"};
        QStringList decoded;
        for (const QByteArray &bytes : names)
            decoded << NativeName::Decode(bytes);
        decoded.removeDuplicates();
        QCOMPARE(decoded.size(), names.size());
    }

    void refusesWhatIsNoPlainFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("a named pipe without a writer: refused, not waited on") << "pipe" << PlainFile::NotPlainText();
        QTest::newRow("a link to a named pipe") << "link to pipe" << PlainFile::NotPlainText();
        QTest::newRow("a folder") << "folder" << PlainFile::SystemError(EISDIR);
        QTest::newRow("a plain file behind a link opens") << "link to file" << QString();
    }

    void refusesWhatIsNoPlainFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        QTemporaryDir dir;
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir("folder") && TestFiles::Write(dir.filePath("file"), "abc"));
        QVERIFY(QFile::link("pipe", dir.filePath("link to pipe")) && QFile::link("file", dir.filePath("link to file")));
        QString said;
        PlainFile file = PlainFile::OpenForReading(dir.filePath(kind), &said);
        QCOMPARE(file.IsOpen(), why.isEmpty());
        QCOMPARE(said, why);
        QCOMPARE(file.IsOpen() ? file.Size() : 3, 3);
    }

    // The link files of a home folder named in bytes that are not text are
    // its own, not those of a folder named by a lossy decoding.
    void linkFilesOfAHomeNamedInBytes()
    {
        QTemporaryDir root;
        const QByteArray bytes = QFile::encodeName(root.path()) + "/home \xFF\xD0";
        QCOMPARE(::mkdir(bytes.constData(), 0700), 0);
        const QString home = NativeName::Decode(bytes);
        int count = 0;
        qint64 records = 0;
        QString error;
        const QString page = QStringLiteral("class=\"other\"></a><span><a href='http://pics.test/userdir/4/1/8/2/418265/a.jpg' >");
        QVERIFY2(LinkExtractor(QStringLiteral("pics.test")).AppendToUrlFile(home, page, &count, &error),
                 qPrintable(error));
        QVERIFY2(PostMarkup::MakePosts(home, QStringLiteral("418265"), &records, &error), qPrintable(error));
        QCOMPARE(count, 1);
        QCOMPARE(records, 1);
        // QTemporaryDir cannot name what it would remove.
        QCOMPARE(::unlink((bytes + "/url.txt").constData()), 0);
        QCOMPARE(::unlink((bytes + "/base_url.txt").constData()), 0);
        QCOMPARE(::rmdir(bytes.constData()), 0);
    }
};

QTEST_GUILESS_MAIN(TestFileLayer)
#include "tst_filelayer.moc"
