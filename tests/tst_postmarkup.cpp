#include "linktools/PostMarkup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Record(const QByteArray &thumb, const QByteArray &picture)
{
    return "<div align=\"center\">[MORE=<img src='" + thumb + "'>]<img src='" + picture
        + "'>[/MORE]</div>--endanecdot-";
}

const QByteArray A = "http://pics.test/userdir/4/1/8/2/418265/a.jpg";
const QByteArray AThumb = "http://pics.test/userdir/4/1/8/2/418265/thumb/a.jpg";
const QByteArray B = "http://pics.test/userdir/4/1/8/2/418265/b.jpg";
const QByteArray BThumb = "http://pics.test/userdir/4/1/8/2/418265/thumb/b.jpg";

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

class TestPostMarkup : public QObject
{
    Q_OBJECT

private slots:
    void makesRecords_data();
    void makesRecords();
    void failureLeavesPostsAlone_data();
    void failureLeavesPostsAlone();
};

void TestPostMarkup::makesRecords_data()
{
    QTest::addColumn<QByteArray>("urls");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("after");

    const QByteArray two = Record(AThumb, A) + Record(BThumb, B);
    QByteArray highBytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        highBytes += char(b);

    QTest::newRow("empty url.txt creates an empty base_url.txt") << QByteArray("") << QByteArray() << 1 << 0 << QByteArray("");
    QTest::newRow("lines ended by CR LF") << A + "\r\n" + B + "\r\n" << QByteArray() << 1 << 2 << two;
    QTest::newRow("lines ended by CR alone") << A + "\r" + B + "\r" << QByteArray() << 1 << 2 << two;
    QTest::newRow("last line without a line break") << A + "\r\n" + B << QByteArray() << 1 << 2 << two;
    QTest::newRow("lone LF stays in the line")
        << A + "\n" + B + "\r\n" << QByteArray() << 1 << 1 << Record(AThumb + "\n" + BThumb, A + "\n" + B);
    QTest::newRow("empty line gives empty sources")
        << A + "\r\n\r\n" + B << QByteArray() << 1 << 3 << Record(AThumb, A) + Record("", "") + Record(BThumb, B);
    QTest::newRow("line without the account folder keeps its thumbnail address")
        << QByteArray("http://x/1.jpg\r\n") << QByteArray() << 1 << 1 << Record("http://x/1.jpg", "http://x/1.jpg");
    QTest::newRow("account folder twice gets thumb/ twice")
        << QByteArray("h/418265/418265/a.jpg") << QByteArray() << 1 << 1
        << Record("h/418265/thumb/418265/thumb/a.jpg", "h/418265/418265/a.jpg");
    QTest::newRow("place holders inside a line stay as they are")
        << QByteArray("#thumb##img#") << QByteArray() << 1 << 1 << Record("#thumb##img#", "#thumb##img#");
    QTest::newRow("Cyrillic and every high byte round-trip")
        << "\xCA\xEE\xF2" + highBytes + "\r\n" << QByteArray() << 1 << 1
        << Record("\xCA\xEE\xF2" + highBytes, "\xCA\xEE\xF2" + highBytes);
    QTest::newRow("earlier records stay") << A << QByteArray("old--endanecdot-") << 1 << 1
                                          << "old--endanecdot-" + Record(AThumb, A);
    QTest::newRow("second run appends the same records again") << A + "\r\n" + B + "\r\n" << QByteArray() << 2 << 2
                                                               << two + two;
}

void TestPostMarkup::makesRecords()
{
    QFETCH(QByteArray, urls);
    QFETCH(QByteArray, before);
    QFETCH(int, runs);
    QFETCH(int, count);
    QFETCH(QByteArray, after);

    QTemporaryDir home;
    Write(home.filePath("url.txt"), urls);
    if (!before.isNull())
        Write(home.filePath("base_url.txt"), before);
    for (int run = 0; run < runs; ++run) {
        int made = -1;
        QString error;
        QVERIFY2(PostMarkup::MakePosts(home.path(), &made, &error), qPrintable(error));
        QCOMPARE(made, count);
    }
    QVERIFY(QFile::exists(home.filePath("base_url.txt")));
    QCOMPARE(Read(home.filePath("base_url.txt")), after);
    QCOMPARE(Read(home.filePath("url.txt")), urls);
}

void TestPostMarkup::failureLeavesPostsAlone_data()
{
    QTest::addColumn<QString>("urlTarget"); // empty: missing; a folder; or a link target
    QTest::addColumn<QString>("postTarget");
    QTest::addColumn<QString>("named");

    QTest::newRow("missing url.txt") << QString() << QStringLiteral("file") << QStringLiteral("url.txt");
    QTest::newRow("url.txt is a folder") << QStringLiteral("folder") << QStringLiteral("file") << QStringLiteral("url.txt");
    QTest::newRow("missing url.txt, no base_url.txt yet") << QString() << QString() << QStringLiteral("url.txt");
    QTest::newRow("base_url.txt cannot be opened")
        << QStringLiteral("file") << QStringLiteral("folder") << QStringLiteral("base_url.txt");
    QTest::newRow("base_url.txt cannot be written")
        << QStringLiteral("file") << QStringLiteral("/dev/full") << QStringLiteral("base_url.txt");
}

void TestPostMarkup::failureLeavesPostsAlone()
{
    QFETCH(QString, urlTarget);
    QFETCH(QString, postTarget);
    QFETCH(QString, named);

    QTemporaryDir home;
    const auto make = [&](const QString &name, const QString &target) {
        const QString path = home.filePath(name);
        if (target == QLatin1String("file"))
            Write(path, name == QLatin1String("url.txt") ? A + "\r\n" : QByteArray("old"));
        else if (target == QLatin1String("folder"))
            QVERIFY(QDir(home.path()).mkdir(name));
        else if (!target.isEmpty())
            QVERIFY(QFile::link(target, path));
    };
    make("url.txt", urlTarget);
    make("base_url.txt", postTarget);

    int made = -1;
    QString error;
    QVERIFY(!PostMarkup::MakePosts(home.path(), &made, &error));
    QCOMPARE(made, 0);
    QVERIFY2(error.contains(QDir::toNativeSeparators(home.filePath(named))), qPrintable(error));
    if (postTarget == QLatin1String("file"))
        QCOMPARE(Read(home.filePath("base_url.txt")), QByteArray("old"));
    if (postTarget.isEmpty())
        QVERIFY(!QFile::exists(home.filePath("base_url.txt")));
}

QTEST_GUILESS_MAIN(TestPostMarkup)
#include "tst_postmarkup.moc"
