#include "folder/FileList.h"
#include "folder/FileOps.h"
#include "folder/FileStamp.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>

namespace {

QStringList Listing(FileList &list, const QString &folder)
{
    list.SetFolder(folder);
    list.SetPattern(QStringLiteral("*.jpg"));
    return list.Refresh() ? list.Entries() : QStringList{"<" + list.ErrorString() + ">"};
}

// "+a" creates a, "-a" deletes it, "a>b" renames over any b as another
// program would, "/a" makes a subfolder, "~a" a named pipe, "@" makes the
// folder itself.
bool Perform(const QDir &folder, const QString &step)
{
    const QString name = step.mid(1);
    switch (step.at(0).unicode()) {
    case '@': return folder.mkpath(".");
    case '+': return TestFiles::Write(folder.filePath(name));
    case '-': return QFile::remove(folder.filePath(name));
    case '/': return folder.mkdir(name);
    case '~': return mkfifo(QFile::encodeName(folder.filePath(name)).constData(), 0600) == 0;
    }
    const QStringList names = step.split(QLatin1Char('>'));
    return names.size() == 2
        && std::rename(QFile::encodeName(folder.filePath(names[0])).constData(),
                       QFile::encodeName(folder.filePath(names[1])).constData()) == 0;
}

}

class TestFileList : public QObject
{
    Q_OBJECT

private slots:
    // Created, deleted and created again; each "|" compares the list kept up
    // to date with one read afresh, or their errors.
    void followsChangesBetweenRefreshes()
    {
        const QStringList steps{"+n.jpg", "+M.JPG", "+late.txt", "+tmp.jpg", "-tmp.jpg", "-a.jpg", "+a.jpg"};
        QTemporaryDir root;
        const QDir folder(root.filePath("img"));
        for (const char *step : {"@", "+a.jpg", "+b.jpg", "+Ab.jpg", "+aa.jpg", "+Z.jpg", "+c.Jpg", "+D.JPG", "+a.jpg_!",
                                 "+.hidden.jpg", "+d.jpeg", "+e.png", "+f.jpg.txt", "+jpg", "+note.txt", "/dir.jpg",
                                 "~pipe.jpg"})
            QVERIFY(Perform(folder, step));
        // A named pipe is listed, so that the run can name it when it passes
        // it over; a folder is not.
        FileList list;
        QCOMPARE(Listing(list, folder.path()),
                 QStringList({"a.jpg", "aa.jpg", "Ab.jpg", "b.jpg", "c.Jpg", "D.JPG", "pipe.jpg", "Z.jpg"}));
        // The last steps after the journal is let go.
        for (const QString &step : steps + QStringList{"|", "!", "-b.jpg", "+new.jpg", "|"}) {
            FileList fresh;
            if (step == QLatin1String("|"))
                QCOMPARE(Listing(list, folder.path()), Listing(fresh, folder.path()));
            else if (step == QLatin1String("!"))
                list.LetJournalGo();
            else
                QVERIFY2(Perform(folder, step), qPrintable(step));
        }
    }

    // An accepted picture leaves only if it is the one sent, whatever takes
    // its name before it is taken out or once it is.
    void deletesOnlyTheFileMeant_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("once");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QStringList>("left");

        QTest::newRow("the one meant") << "" << "" << true << QStringList();
        QTest::newRow("replaced before: put back") << "+n.tmp n.tmp>a.jpg" << "" << false << QStringList{"a.jpg"};
        QTest::newRow("replaced once taken: the newcomer stays") << "" << "+a.jpg" << true << QStringList{"a.jpg"};
        QTest::newRow("both: put back under a free name")
            << "+n.tmp n.tmp>a.jpg" << "+a.jpg" << false << QStringList{"a (2).jpg", "a.jpg"};
        QTest::newRow("gone before") << "-a.jpg" << "" << false << QStringList();
    }

    void deletesOnlyTheFileMeant()
    {
        QFETCH(QString, before);
        QFETCH(QString, once);
        QFETCH(bool, deleted);
        QFETCH(QStringList, left);
        QTemporaryDir root;
        const QDir folder(root.path());
        QVERIFY(TestFiles::Write(folder.filePath("a.jpg"), "sent"));
        const std::optional<FileStamp> meant = FileStamp::OfPath(folder.filePath("a.jpg"));
        for (const QString &step : before.split(' ', Qt::SkipEmptyParts))
            QVERIFY(Perform(folder, step));
        bool gone = !deleted;
        QString error;
        QVERIFY2(FileOps::DeleteOnlyIf(folder.filePath("a.jpg"), [&](const QString &taken) {
            for (const QString &step : once.split(' ', Qt::SkipEmptyParts))
                Perform(folder, step);
            const std::optional<FileStamp> now = FileStamp::OfPath(taken);
            return now && now->SameFileAs(*meant);
        }, &gone, &error), qPrintable(error));
        QCOMPARE(gone, deleted);
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name), left);
        for (const QString &name : left)
            QVERIFY(TestFiles::Read(folder.filePath(name)) != "sent");
    }
};

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
