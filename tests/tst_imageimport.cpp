#include "folder/FileOps.h"
#include "folder/ImageImport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "a.jpg" is a file holding tag + its name, "d/" a folder, "d/a.jpg" a file in
// it, "a.jpg>target" a symbolic link.
void Make(const QDir &root, const QString &tag, const QStringList &entries)
{
    for (const QString &entry : entries) {
        QVERIFY(root.mkpath(entry.endsWith('/') ? entry : QFileInfo(entry).path()));
        if (entry.contains('>'))
            QVERIFY(QFile::link(entry.section('>', 1), root.filePath(entry.section('>', 0, 0))));
        if (entry.endsWith('/') || entry.contains('>'))
            continue;
        QFile file(root.filePath(entry));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write((tag + entry).toUtf8()) > 0);
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
    void copiesPicturesOfTheFolderItself_data();
    void copiesPicturesOfTheFolderItself();
    void refusesWithoutLosingAnything_data();
    void refusesWithoutLosingAnything();
    void rootKeepsItsSeparator_data();
    void rootKeepsItsSeparator();
};

void TestImageImport::copiesPicturesOfTheFolderItself_data()
{
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QStringList>("image");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("copied");
    QTest::addColumn<QString>("named"); // in the error; empty: success

    QTest::newRow("two pictures, one already there: both copied, the old one replaced")
        << QStringList{"a.jpg", "b.jpg"} << QStringList{"a.jpg", "z.jpg", "notes.txt"}
        << QStringList{"a.jpg=new a.jpg", "b.jpg=new b.jpg", "notes.txt=old notes.txt", "z.jpg=old z.jpg"} << 2
        << QString();
    QTest::newRow("extension in any letter case")
        << QStringList{"C.JPG", "d.Jpg", "e.jpeg", "f.png", "g.jpg.txt"} << QStringList{}
        << QStringList{"C.JPG=new C.JPG", "d.Jpg=new d.Jpg"} << 2 << QString();
    QTest::newRow("subfolders, hidden files and folders named like pictures left out")
        << QStringList{"a.jpg", "sub/b.jpg", ".h.jpg", "dir.jpg/"} << QStringList{}
        << QStringList{"a.jpg=new a.jpg"} << 1 << QString();
    QTest::newRow("pictures only in subfolders: no picture")
        << QStringList{"sub/a.jpg", "a.txt"} << QStringList{"z.jpg"} << QStringList{"z.jpg=old z.jpg"} << 0
        << "src";
    QTest::newRow("empty folder: no picture") << QStringList{"sub/"} << QStringList{} << QStringList{} << 0 << "src";
    QTest::newRow("replace blocked by a folder: earlier copies stay, the old content too")
        << QStringList{"a.jpg", "b.jpg", "c.jpg"} << QStringList{"b.jpg/keep.txt", "c.jpg"}
        << QStringList{"a.jpg=new a.jpg", "b.jpg/", "b.jpg/keep.txt=old b.jpg/keep.txt", "c.jpg=old c.jpg"} << 1
        << "img/b.jpg";
    // Opens like any file, but every read fails.
    QTest::newRow("unreadable picture: earlier copies stay, the same-named one is whole")
        << QStringList{"a.jpg", "b.jpg>/proc/self/mem", "c.jpg"} << QStringList{"b.jpg"}
        << QStringList{"a.jpg=new a.jpg", "b.jpg=old b.jpg"} << 1 << "src/b.jpg";
}

void TestImageImport::copiesPicturesOfTheFolderItself()
{
    QFETCH(QStringList, source);
    QFETCH(QStringList, image);
    QFETCH(QStringList, after);
    QFETCH(int, copied);
    QFETCH(QString, named);

    if (source.join(' ').contains("/proc/self/mem") && !QFile::exists("/proc/self/mem"))
        QSKIP("no /proc here");
    QTemporaryDir root;
    const QDir top(root.path());
    QVERIFY(top.mkpath("src") && top.mkpath("img"));
    Make(QDir(top.filePath("src")), "new ", source);
    Make(QDir(top.filePath("img")), "old ", image);
    const QStringList sourceBefore = Tree(top.filePath("src"));

    int count = -1;
    QString error;
    const bool ok = ImageImport::CopyPictures(QDir::toNativeSeparators(top.filePath("src")), top.filePath("img"),
                                              &count, &error);
    QCOMPARE(ok, named.isEmpty());
    QCOMPARE(count, copied);
    if (!ok)
        QVERIFY2(error.contains(QDir::toNativeSeparators(top.filePath(named))), qPrintable(error));
    QCOMPARE(Tree(top.filePath("img")), after);
    QCOMPARE(Tree(top.filePath("src")), sourceBefore);
}

void TestImageImport::refusesWithoutLosingAnything_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("image");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QString>("named");

    QTest::newRow("image folder vanished") << "src" << "gone" << true << "gone";
    QTest::newRow("source folder missing") << "nowhere" << "img" << true << "nowhere";
    QTest::newRow("source is a picture, not a folder") << "src/a.jpg" << "img" << true << "src/a.jpg";
    QTest::newRow("source is the image folder") << "img" << "img" << true << "img";
    QTest::newRow("source is the image folder, spelled otherwise") << "img/../img/." << "img" << true << "img";
    QTest::newRow("source is a link to the image folder") << "link" << "img" << true << "link";
    QTest::newRow("same name without overwrite") << "src" << "img" << false << "img/a.jpg";
}

void TestImageImport::refusesWithoutLosingAnything()
{
    QFETCH(QString, source);
    QFETCH(QString, image);
    QFETCH(bool, overwrite);
    QFETCH(QString, named);

    QTemporaryDir root;
    const QDir top(root.path());
    Make(top, "", {"src/a.jpg", "img/a.jpg", "img/b.jpg"});
    QVERIFY(QFile::link(top.filePath("img"), top.filePath("link")));
    const QStringList before = Tree(root.path());

    int count = -1;
    QString error;
    QVERIFY(!FileOps::CopyFiles(top.filePath(source), "*.jpg", top.filePath(image), overwrite, &count, &error));
    QCOMPARE(count, 0);
    QVERIFY2(error.contains(QDir::toNativeSeparators(top.filePath(named))), qPrintable(error));
    QCOMPARE(Tree(root.path()), before);
}

void TestImageImport::rootKeepsItsSeparator_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("folder");
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("root with a doubled separator") << "//" << "/";
    QTest::newRow("folder") << "/a/b" << "/a/b";
    QTest::newRow("folder with a trailing separator") << "/a/b/" << "/a/b";
    QTest::newRow("folder with doubled separators") << "/a//b" << "/a/b";
}

void TestImageImport::rootKeepsItsSeparator()
{
    QFETCH(QString, chosen);
    QFETCH(QString, folder);
    QCOMPARE(ImageImport::SourceFolder(QDir::toNativeSeparators(chosen)), folder);
}

QTEST_GUILESS_MAIN(TestImageImport)
#include "tst_imageimport.moc"
