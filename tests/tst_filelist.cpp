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
// a named pipe, "!a" sets a aside, "*" creates more pictures than one read of
// the journal holds.
bool Perform(const QDir &folder, const QString &step)
{
    const QString name = step.mid(1);
    QString error;
    QString aside;
    switch (step.at(0).unicode()) {
    case '+': return Write(folder.filePath(name));
    case '-': return QFile::remove(folder.filePath(name));
    case '/': return folder.mkdir(name);
    case '~': return mkfifo(QFile::encodeName(folder.filePath(name)).constData(), 0600) == 0;
    case '!': return FileOps::SetAside(folder.filePath(name), &aside, &error);
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
    void followsChangesBetweenRefreshes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("created") << QStringList{"+n.jpg", "+M.JPG", "+late.txt"};
        QTest::newRow("renamed into the pattern") << QStringList{"note.txt>note.jpg"};
        QTest::newRow("renamed over another picture") << QStringList{"a.jpg>b.jpg"};
        QTest::newRow("letter case only") << QStringList{"a.jpg>A.jpg", "|", "+a.jpg", "|", "-A.jpg"};
        QTest::newRow("created then deleted") << QStringList{"+tmp.jpg", "-tmp.jpg"};
        QTest::newRow("deleted then created again") << QStringList{"-a.jpg", "+a.jpg"};
        QTest::newRow("set aside over an older one, then a new one") << QStringList{"!a.jpg", "|", "+a.jpg"};
        QTest::newRow("not plain files, named like pictures")
            << QStringList{"/d.jpg", "~p.jpg", "-b.jpg", "|", "d.jpg>e.jpg", "p.jpg>q.jpg"};
        QTest::newRow("hidden picture") << QStringList{"+.x.jpg", "|", ".x.jpg>x.jpg"};
        QTest::newRow("many at once") << QStringList{"*", "|", "-a.jpg"};
    }

    // Each "|" compares the list kept up to date with one read afresh.
    void followsChangesBetweenRefreshes()
    {
        QFETCH(QStringList, steps);
        QTemporaryDir root;
        const QDir folder(root.path());
        for (const char *step : {"+a.jpg", "+b.jpg", "+Ab.jpg", "+aa.jpg", "+Z.jpg", "+c.Jpg", "+D.JPG", "+a.jpg_!",
                                 "+.hidden.jpg", "+d.jpeg", "+e.png", "+f.jpg.txt", "+jpg", "+note.txt", "/dir.jpg",
                                 "~pipe.jpg"})
            QVERIFY(Perform(folder, step));

        // A named pipe is listed, so that the run can name it when it passes
        // it over; a folder is not.
        FileList list;
        QCOMPARE(Listing(list, folder.path()),
                 QStringList({"a.jpg", "aa.jpg", "Ab.jpg", "b.jpg", "c.Jpg", "D.JPG", "pipe.jpg", "Z.jpg"}));
        for (const QString &step : steps + QStringList{"|"}) {
            if (step != QLatin1String("|")) {
                QVERIFY2(Perform(folder, step), qPrintable(step));
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
};

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
