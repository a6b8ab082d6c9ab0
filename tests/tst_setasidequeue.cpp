#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace TestFiles;

class TestSetAsideQueue : public QObject
{
    Q_OBJECT

private slots:
    // Only set-aside pictures go back, each under the first free name (a
    // numbered one keeps its number), none written over. A name one longer
    // than the folder allows cannot take its number: that picture is named,
    // the others go back all the same, and the exit status says so.
    void requeueGoesOnPastOne()
    {
        QTemporaryDir home;
        const QDir img(home.filePath("img"));
        const QString stem = QString(249, 'x') + ".jpg";
        for (const QString &name : QStringList{stem, stem + "_!", ".e.jpg_!", "a (2).jpg", "a.jpg", "a.jpg_!", "c.jpg",
                                               "d.txt_!", "f.JPEG_!", "n (2).jpg_!", "z.jpg_!"})
            QVERIFY(Write(img.filePath(name), name.toUtf8()));
        const ProgramResult run = ProgramRun(PICAROON_BIN, {"requeue", "--home", home.path()}).Run();
        QCOMPARE(run.status, 6);
        QCOMPARE(run.output, QByteArray("Возвращено в очередь: 4\n"));
        QVERIFY2(run.errors.startsWith("picaroon requeue: Cannot return ") && run.errors.contains(stem.toUtf8() + "_!"),
                 run.errors.constData());
        QStringList found;
        for (const QString &name : img.entryList(QDir::Files | QDir::Hidden, QDir::Name))
            found << name + '=' + Read(img.filePath(name));
        QCOMPARE(found, QStringList({".e.jpg_!=.e.jpg_!", "a (2).jpg=a (2).jpg", "a (3).jpg=a.jpg_!", "a.jpg=a.jpg",
                                     "c.jpg=c.jpg", "d.txt_!=d.txt_!", "f.JPEG=f.JPEG_!", "n (2).jpg=n (2).jpg_!",
                                     stem + '=' + stem, stem + "_!=" + stem + "_!", "z.jpg=z.jpg_!"}));
    }
};

QTEST_GUILESS_MAIN(TestSetAsideQueue)
#include "tst_setasidequeue.moc"
