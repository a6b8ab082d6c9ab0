#include "SmallFilesystem.h"
#include "TestFiles.h"

#include "folder/FileList.h"
#include "folder/ImageImport.h"
#include "folder/ImportRun.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "a.jpg" is a file holding tag + its name, "a.jpg=x" one holding x, "d/" a
// folder, "d/a.jpg" a file in it, "a.jpg>target" a symbolic link, "~p.jpg" a
// named pipe.
void Make(const QDir &root, const QString &tag, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(QRegularExpression("[>=]"), 0, 0), target = entry.section('>', 1);
        QVERIFY(root.mkpath(name.endsWith('/') ? name : QFileInfo(name).path()));
        if (name.startsWith('~'))
            QCOMPARE(::mkfifo(QFile::encodeName(root.filePath(name.mid(1))).constData(), 0600), 0);
        else if (!target.isEmpty())
            QVERIFY(QFile::link(target, root.filePath(name)));
        else if (!name.endsWith('/'))
            QVERIFY(TestFiles::Write(root.filePath(name), entry.contains('=') ? entry.section('=', 1).toUtf8()
                                                                              : (tag + name).toUtf8()));
    }
}

// Every file with its content and every folder under root, temporary files too.
QStringList Tree(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString name = QDir(root).relativeFilePath(info.filePath());
        entries << (info.isDir() ? name + '/' : info.isFile() ? name + '=' + TestFiles::Read(info.filePath()) : name);
    }
    entries.sort();
    return entries;
}

}

class TestImageImport : public QObject
{
    Q_OBJECT

private slots:
    void copiesPicturesOfTheFolderItself_data()
    {
        QTest::addColumn<QString>("from"); // "link" leads to img
        QTest::addColumn<QStringList>("source");
        QTest::addColumn<QStringList>("image"); // "=new ..." ones: already queued
        QTest::addColumn<QStringList>("after"); // in img; those holding new content count as copied
        QTest::addColumn<QString>("named"); // in the error; empty: success

        // Cameras reuse their names: a queued picture is never replaced. Opening
        // a named pipe for reading would wait for a writer for ever.
        QTest::newRow("nothing replaced: other bytes numbered, same bytes once, any case, .jpeg, no pipe waited on")
            << "src"
            << QStringList{"a.jpg", "b.jpg", "C.JPG", "e.jpeg", "F.JPEG", "s.jpg", "k.jpg", "g.jpg.txt", "sub/b.jpg",
                           ".h.jpg", "dir.jpg/", "~p.jpg"}
            << QStringList{"a.jpg", "a (2).jpg", "b.jpg/keep.txt", "s.jpg=new s.jpg", "k.jpg", "k (2).jpg=new k.jpg"}
            << QStringList{"C.JPG=new C.JPG", "F.JPEG=new F.JPEG", "a (2).jpg=old a (2).jpg", "a (3).jpg=new a.jpg",
                           "a.jpg=old a.jpg", "b (2).jpg=new b.jpg", "b.jpg/", "b.jpg/keep.txt=old b.jpg/keep.txt",
                           "e.jpeg=new e.jpeg", "k (2).jpg=new k.jpg", "k.jpg=old k.jpg", "s.jpg=new s.jpg"}
            << QString();
        // Opens like any file, but every read fails.
        QTest::newRow("unreadable picture: earlier copies stay, nothing half-written")
            << "src" << QStringList{"a.jpg", "b.jpg>/proc/self/mem"} << QStringList{"b.jpg"}
            << QStringList{"a.jpg=new a.jpg", "b.jpg=old b.jpg"} << "src/b.jpg";
        QTest::newRow("source is the image folder through a link")
            << "link" << QStringList{} << QStringList{"b.jpg"} << QStringList{"b.jpg=old b.jpg"} << "link";
    }

    void copiesPicturesOfTheFolderItself()
    {
        QFETCH(QString, from);
        QFETCH(QStringList, source);
        QFETCH(QStringList, image);
        QFETCH(QStringList, after);
        QFETCH(QString, named);
        QTemporaryDir root;
        const QDir top(root.path());
        Make(top, "", {"src/", "img/", "link>" + top.filePath("img")});
        Make(QDir(top.filePath("src")), "new ", source);
        Make(QDir(top.filePath("img")), "old ", image);
        const QStringList sourceBefore = Tree(top.filePath("src"));

        FileOps::CopyTally tally;
        QString error;
        const bool ok = ImageImport::CopyPictures(QDir::toNativeSeparators(top.filePath(from)), top.filePath("img"), {},
                                                  &tally, &error);
        QCOMPARE(ok, named.isEmpty());
        QCOMPARE(tally.copied, after.filter("=new ").size() - image.filter("=new ").size());
        QCOMPARE(tally.alreadyThere, image.filter("=new ").size());
        if (!ok)
            QVERIFY2(error.contains(QDir::toNativeSeparators(top.filePath(named))), qPrintable(error));
        QCOMPARE(Tree(top.filePath("img")), after);
        QCOMPARE(Tree(top.filePath("src")), sourceBefore);
        QCOMPARE(top.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList({"img", "link", "src"}));
    }

    // The copy that no longer fits must not become the picture: the old one
    // stays whole, nothing half-written is left, and the cause is named.
    void fullDiskLeavesTheNamesakeWhole()
    {
        SmallFilesystem disk;
        QString why;
        if (!disk.Mount(&why))
            QSKIP(qPrintable(why));
        QTemporaryDir source;
        Make(QDir(disk.Path()), "old ", {"a.jpg"});
        QVERIFY(TestFiles::Write(source.filePath("a.jpg"), QByteArray(200 * 1024, 'x')));
        FileOps::CopyTally tally;
        QString error;
        QVERIFY(!ImageImport::CopyPictures(source.path(), disk.Path(), {}, &tally, &error));
        QCOMPARE(tally.copied, 0);
        QVERIFY2(error.contains(QString::fromLocal8Bit(strerror(ENOSPC))) && error.contains(disk.FilePath("a.jpg")),
                 qPrintable(error));
        QCOMPARE(Tree(disk.Path()), QStringList{"a.jpg=old a.jpg"});
    }

    // The name's bytes are kept, and the mode is the source's less the umask:
    // 0654 less 027 tells that from the umask's 0640, the source's 0654 and
    // the private 0600 the copy is made with.
    void copyKeepsNameBytesAndAtMostTheSourceMode()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("src") && QDir(root.path()).mkpath("img"));
        const QByteArray odd = "/\xC0\xFF" "photo\xE9.jpg";
        const QByteArray source = QFile::encodeName(root.filePath("src")) + odd;
        const QByteArray copy = QFile::encodeName(root.filePath("img")) + odd;
        int fd = ::open(source, O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0 && ::write(fd, "odd", 3) == 3 && ::fchmod(fd, 0654) == 0 && ::close(fd) == 0);
        const mode_t before = ::umask(027);
        FileOps::CopyTally tally;
        QString error;
        const bool ok = ImageImport::CopyPictures(root.filePath("src"), root.filePath("img"), {}, &tally, &error);
        ::umask(before);
        QVERIFY2(ok && tally.copied == 1, qPrintable(error));
        char bytes[8] = {};
        struct stat info;
        fd = ::open(copy, O_RDONLY);
        QVERIFY(fd >= 0 && ::read(fd, bytes, sizeof bytes) == 3 && ::fstat(fd, &info) == 0 && ::close(fd) == 0);
        QCOMPARE(QByteArray(bytes), QByteArray("odd"));
        QCOMPARE(info.st_mode & 0777, mode_t(0650));
        QVERIFY(::unlink(copy) == 0 && ::unlink(source) == 0);
    }

    // Started, the copy leaves the caller's thread free: held between two
    // blocks, the event loop still turns. Cancelled once two pictures are
    // in, it ends at the next block: the pictures copied whole stay, byte
    // for byte, and the one in hand leaves nothing behind.
    void startedCopyLeavesTheLoopFreeAndCancels()
    {
        QTemporaryDir root;
        QDir source(root.filePath("card"));
        QVERIFY(source.mkpath("."));
        for (int i = 0; i < 300; ++i)
            QVERIFY(TestFiles::Write(source.filePath(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0'))),
                                     QByteArray(1000 + i, char('a' + i % 26))));
        QVERIFY(QDir(root.path()).mkdir("img"));
        FileList files;
        files.SetFolder(root.filePath("img"));
        ImportRun import(files);
        QSemaphore steps;
        import.SetStopCheck([&steps] {
            steps.acquire();
            return false;
        });
        // A failed check must not leave the copy waiting for ever.
        const auto freed = qScopeGuard([&] {
            import.Cancel();
            steps.release(1000);
        });
        QSignalSpy progress(&import, &ImportRun::Progress);
        QSignalSpy finished(&import, &ImportRun::Finished);
        import.Start({source.path()}, {});
        QVERIFY(import.IsRunning());
        bool turned = false;
        QTimer::singleShot(0, this, [&turned] { turned = true; });
        QTRY_VERIFY(turned);
        QVERIFY(progress.isEmpty());

        while (progress.size() < 2) {
            steps.release();
            QTRY_COMPARE(steps.available(), 0);
            QCoreApplication::processEvents();
        }
        QCOMPARE(progress.first(), (QVariantList{1, 300}));
        import.Cancel();
        steps.release(1000);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(0).toBool(), false);
        QVERIFY(import.Stopped() && !import.IsRunning());
        const QStringList copied = QDir(root.filePath("img")).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(copied.size() >= 2 && copied.size() < 300, qPrintable(copied.join(' ')));
        for (const QString &name : copied)
            QCOMPARE(TestFiles::Read(root.filePath("img/" + name)), TestFiles::Read(source.filePath(name)));
        QCOMPARE(files.Count(), copied.size());
    }
};

QTEST_GUILESS_MAIN(TestImageImport)
#include "tst_imageimport.moc"
