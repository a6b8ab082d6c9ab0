#include "SmallFilesystem.h"

#include "folder/ImageImport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "a.jpg" is a file holding tag + its name, "d/" a folder, "d/a.jpg" a file in
// it, "a.jpg>target" a symbolic link.
void Make(const QDir &root, const QString &tag, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString name = entry.section('>', 0, 0), target = entry.section('>', 1);
        QVERIFY(root.mkpath(name.endsWith('/') ? name : QFileInfo(name).path()));
        QFile file(root.filePath(name));
        if (!target.isEmpty())
            QVERIFY(QFile::link(target, file.fileName()));
        else if (!name.endsWith('/'))
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write((tag + name).toUtf8()) > 0);
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
        QFile file(info.filePath());
        entries << (info.isDir() ? name + '/' : file.open(QIODevice::ReadOnly) ? name + '=' + file.readAll() : name);
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
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("source");
        QTest::addColumn<QStringList>("image");
        QTest::addColumn<QStringList>("after"); // in img; those holding new content count as copied
        QTest::addColumn<QString>("named"); // in the error; empty: success

        QTest::newRow("namesake replaced, any letter case, nothing else taken")
            << "src" << "img" << QStringList{"a.jpg", "C.JPG", "e.jpeg", "g.jpg.txt", "sub/b.jpg", ".h.jpg", "dir.jpg/"}
            << QStringList{"a.jpg", "z.jpg"} << QStringList{"C.JPG=new C.JPG", "a.jpg=new a.jpg", "z.jpg=old z.jpg"}
            << QString();
        QTest::newRow("pictures only in subfolders: no picture")
            << "src" << "img" << QStringList{"sub/a.jpg"} << QStringList{"z.jpg"} << QStringList{"z.jpg=old z.jpg"}
            << "src";
        QTest::newRow("replace blocked by a folder: earlier copies stay, the old content too")
            << "src" << "img" << QStringList{"a.jpg", "b.jpg", "c.jpg"} << QStringList{"b.jpg/keep.txt", "c.jpg"}
            << QStringList{"a.jpg=new a.jpg", "b.jpg/", "b.jpg/keep.txt=old b.jpg/keep.txt", "c.jpg=old c.jpg"}
            << "img/b.jpg";
        // Opens like any file, but every read fails: a copy that wrote in place
        // would leave the namesake cut short.
        QTest::newRow("unreadable picture: the namesake stays whole")
            << "src" << "img" << QStringList{"a.jpg", "b.jpg>/proc/self/mem"} << QStringList{"b.jpg"}
            << QStringList{"a.jpg=new a.jpg", "b.jpg=old b.jpg"} << "src/b.jpg";
        QTest::newRow("image folder vanished")
            << "src" << "gone" << QStringList{"a.jpg"} << QStringList{"b.jpg"} << QStringList{"b.jpg=old b.jpg"}
            << "gone";
        QTest::newRow("source is the image folder through a link")
            << "link" << "img" << QStringList{} << QStringList{"b.jpg"} << QStringList{"b.jpg=old b.jpg"} << "link";
    }

    void copiesPicturesOfTheFolderItself()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
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

        int count = -1;
        QString error;
        const bool ok = ImageImport::CopyPictures(QDir::toNativeSeparators(top.filePath(from)), top.filePath(to),
                                                  &count, &error);
        QCOMPARE(ok, named.isEmpty());
        QCOMPARE(count, after.filter("=new ").size());
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
        const QDir image(disk.Path());
        Make(image, "old ", {"a.jpg"});
        QFile big(QDir(source.path()).filePath("a.jpg"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write(QByteArray(200 * 1024, 'x')) == 200 * 1024);
        big.close();

        int count = -1;
        QString error;
        QVERIFY(!ImageImport::CopyPictures(source.path(), disk.Path(), &count, &error));
        QCOMPARE(count, 0);
        QVERIFY2(error.contains(QString::fromLocal8Bit(strerror(ENOSPC))) && error.contains(image.filePath("a.jpg")),
                 qPrintable(error));
        QCOMPARE(Tree(disk.Path()), QStringList{"a.jpg=old a.jpg"});
    }

    void namesThatAreNotTextAndPipesAmongThePictures()
    {
        QTemporaryDir root;
        const QByteArray source = QFile::encodeName(root.filePath("src")) + '/';
        const QByteArray image = QFile::encodeName(root.filePath("img")) + '/';
        QVERIFY(QDir(root.path()).mkpath("src") && QDir(root.path()).mkpath("img"));
        const QByteArray odd = "\xC0\xFF" "photo\xE9.jpg";
        const int fd = ::open(source + odd, O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "odd", 3) == 3 && ::close(fd) == 0);
        // Opening a named pipe for reading would wait for a writer for ever.
        QCOMPARE(::mkfifo(source + "pipe.jpg", 0600), 0);

        int count = -1;
        QString error;
        QVERIFY2(ImageImport::CopyPictures(root.filePath("src"), root.filePath("img"), &count, &error),
                 qPrintable(error));
        QCOMPARE(count, 1);
        QFile copy;
        const int copied = ::open(image + odd, O_RDONLY);
        QVERIFY(copied >= 0 && copy.open(copied, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        QCOMPARE(copy.readAll(), QByteArray("odd"));
        QCOMPARE(::unlink(image + odd), 0);
        QCOMPARE(::unlink(source + odd), 0);
    }
};

QTEST_GUILESS_MAIN(TestImageImport)
#include "tst_imageimport.moc"
