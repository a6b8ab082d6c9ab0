#include "folder/FileList.h"
#include "folder/FileOps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>

namespace {

bool Write(const QString &path, const QByteArray &bytes = "\xFF\xD8jpeg")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Replaces an existing target, as a rename by another program would.
bool Rename(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QStringList Listing(FileList &list, const QString &folder)
{
    list.SetFolder(folder);
    list.SetPattern(QStringLiteral("*.jpg"));
    return list.Refresh() ? list.Entries() : QStringList{"<" + list.ErrorString() + ">"};
}

// "+a" creates a, "-a" deletes it, "a>b" renames, "/a" makes a subfolder, "~a"
// a named pipe, "!a" sets a aside, "<a" moves a in from outside, "^a" moves it
// out, "*" creates more pictures than one read of the journal holds.
bool Perform(const QDir &folder, const QDir &outside, const QString &step)
{
    const QString name = step.mid(1);
    QString error;
    switch (step.at(0).unicode()) {
    case '+': return Write(folder.filePath(name));
    case '-': return QFile::remove(folder.filePath(name));
    case '/': return folder.mkdir(name);
    case '~': return mkfifo(QFile::encodeName(folder.filePath(name)).constData(), 0600) == 0;
    case '!': return FileOps::SetAside(folder.filePath(name), &error);
    case '<': return Write(outside.filePath(name)) && Rename(outside.filePath(name), folder.filePath(name));
    case '^': return Rename(folder.filePath(name), outside.filePath(name));
    case '*':
        for (int i = 0; i < 2500; ++i) {
            const QString bulk = folder.filePath(QStringLiteral("bulk%1.JPG").arg(i));
            if (!Write(bulk) || (i % 3 == 0 && !QFile::remove(bulk)))
                return false;
        }
        return true;
    }
    const QStringList names = step.split(QLatin1Char('>'));
    return names.size() == 2 && Rename(folder.filePath(names[0]), folder.filePath(names[1]));
}

}

class TestFileList : public QObject
{
    Q_OBJECT

private slots:
    void listsMatchingPlainFilesByName()
    {
        QTemporaryDir root;
        for (const char *name : {"b.JPG", "a.jpg", "Ab.jpg", "aa.jpg", "Z.jpg", "c.Jpg", "a.jpg_!",
                                 ".hidden.jpg", "d.jpeg", "e.png", "f.jpg.txt", "jpg"})
            QVERIFY(Write(root.filePath(name)));
        QVERIFY(QDir(root.path()).mkdir("x.jpg"));
        QVERIFY(mkfifo(QFile::encodeName(root.filePath("p.jpg")).constData(), 0600) == 0);

        FileList list;
        QCOMPARE(Listing(list, root.path()), QStringList({"a.jpg", "aa.jpg", "Ab.jpg", "b.JPG", "c.Jpg", "Z.jpg"}));
    }

    void followsChangesBetweenRefreshes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("created") << QStringList{"+n.jpg", "+M.JPG", "+late.txt"};
        QTest::newRow("deleted") << QStringList{"-a.jpg"};
        QTest::newRow("renamed within the pattern") << QStringList{"a.jpg>z.jpg"};
        QTest::newRow("renamed out of the pattern") << QStringList{"a.jpg>a.jpg_!"};
        QTest::newRow("renamed into the pattern") << QStringList{"note.txt>note.jpg"};
        QTest::newRow("renamed over another picture") << QStringList{"a.jpg>b.jpg"};
        QTest::newRow("letter case only") << QStringList{"a.jpg>A.jpg", "|", "+a.jpg", "|", "-A.jpg"};
        QTest::newRow("created then deleted") << QStringList{"+tmp.jpg", "-tmp.jpg"};
        QTest::newRow("deleted then created again") << QStringList{"-a.jpg", "+a.jpg"};
        QTest::newRow("set aside, then a new one") << QStringList{"!a.jpg", "|", "+a.jpg", "!a.jpg"};
        QTest::newRow("not plain files, named like pictures")
            << QStringList{"/d.jpg", "~p.jpg", "-b.jpg", "|", "d.jpg>e.jpg", "p.jpg>q.jpg"};
        QTest::newRow("hidden picture") << QStringList{"+.x.jpg", "|", ".x.jpg>x.jpg"};
        QTest::newRow("moved in and out") << QStringList{"<in.jpg", "^b.jpg", "|", "^in.jpg"};
        QTest::newRow("many at once") << QStringList{"*", "|", "-a.jpg"};
    }

    void followsChangesBetweenRefreshes()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir root;
        QDir top(root.path());
        QVERIFY(top.mkdir("img") && top.mkdir("outside"));
        const QDir folder(top.filePath("img"));
        for (const char *name : {"a.jpg", "b.jpg", "note.txt"})
            QVERIFY(Write(folder.filePath(name)));

        FileList list;
        QCOMPARE(Listing(list, folder.path()), QStringList({"a.jpg", "b.jpg"}));
        for (const QString &step : steps + QStringList{"|"}) {
            if (step != QLatin1String("|")) {
                QVERIFY2(Perform(folder, QDir(top.filePath("outside")), step), qPrintable(step));
            } else {
                FileList fresh;
                QCOMPARE(Listing(list, folder.path()), Listing(fresh, folder.path()));
            }
        }
    }

    void vanishedFolder_data()
    {
        QTest::addColumn<bool>("renamed");
        QTest::newRow("removed") << false;
        QTest::newRow("renamed") << true;
    }

    void vanishedFolder()
    {
        QFETCH(bool, renamed);
        QTemporaryDir root;
        QDir top(root.path());
        const QString folder = top.filePath("img");
        QVERIFY(top.mkdir("img") && Write(folder + "/a.jpg"));
        FileList list;
        QCOMPARE(Listing(list, folder), QStringList{"a.jpg"});

        QVERIFY(renamed ? top.rename("img", "gone") : QDir(folder).removeRecursively());
        QVERIFY(!list.Refresh());
        QVERIFY2(list.ErrorString().contains(QDir::toNativeSeparators(folder)), qPrintable(list.ErrorString()));
        QCOMPARE(list.Count(), 0);

        QVERIFY(top.mkdir("img") && Write(folder + "/back.jpg"));
        QCOMPARE(Listing(list, folder), QStringList{"back.jpg"});
    }

    void setAsideThenDeleteReadOnly()
    {
        QTemporaryDir root;
        const QString picture = root.filePath("a.jpg");
        const QByteArray bytes("\xFF\xD8\0new\r\n", 8);
        QVERIFY(Write(picture, bytes) && Write(picture + "_!", "older and longer than the new one"));
        QString error;
        QVERIFY2(FileOps::SetAside(picture, &error), qPrintable(error));
        QVERIFY(!QFile::exists(picture));
        QFile aside(picture + "_!");
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), bytes);

        QVERIFY(aside.setPermissions(QFile::ReadOwner | QFile::ReadUser));
        QVERIFY2(FileOps::DeleteFile(aside.fileName(), true, &error), qPrintable(error));
        QVERIFY(!aside.exists());
    }
};

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
