#include "linktools/LinkExtractor.h"
#include "text/Cp1251.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Host = QStringLiteral("pics.test");
const QString Dir = QStringLiteral("http://pics.test/userdir/4/1/8/2/418265/");
const QString Lead = QStringLiteral("<a class=\"other\"></a><span><a href='");

// One picture as the photo-library page lists it.
QString Entry(const QString &address, const QString &lead = Lead)
{
    return QStringLiteral("<td><a href='%1' target='_blank'><img src='%1' alt=''></a><br>\r\n"
                          "%2%1' target='_blank'>Фото</a></span></td>\r\n")
        .arg(address, lead);
}

QByteArray Latin1(const QString &text) { return text.toLatin1(); }

}

class TestLinkExtractor : public QObject
{
    Q_OBJECT

private slots:
    void extractsAddresses_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QByteArrayList>("addresses");
        QTest::addColumn<QString>("account"); // empty: the default member's

        const QString a = Dir + "a.jpg", b = Dir + "b.jpg", c = Dir + "c.jpg";
        QTest::newRow("page order, twice listed twice, others' pictures left out")
            << Entry(b) + Entry("http://pics.test/userdir/1/7/3/5/173590/a.jpg") + Entry(a)
                   + Entry("http://other.test/userdir/4/1/8/2/418265/a.jpg") + Entry(a)
            << QByteArrayList{Latin1(b), Latin1(a), Latin1(a)} << QString();
        QTest::newRow("marker in capitals; .JPG' and .jpg'> are no ends")
            << Entry(a, "<a CLASS=\"other\"></a><span><a href='") + Lead + Dir + "A.JPG' " + Lead + Dir + "b.jpg'>"
                   + Lead + c + "' "
            << QByteArrayList{Latin1(c)} << QString();
        QTest::newRow("marker with no end anywhere writes nothing")
            << Entry(a) + Lead + Dir + "b.png' " << QByteArrayList{Latin1(a)} << QString();
        // Each marker's address would run on to the one end they share.
        QTest::newRow("markers sharing one far end: only the last is an address")
            << (Lead + Dir).repeated(1000) + Lead + c + "' " << QByteArrayList{Latin1(c)} << QString();

        const QList<std::pair<const char *, QString>> breaks{
            {"a double quote", "\""}, {"a greater-than", ">"}, {"a tab", "\t"}, {"a line separator", "\u2028"}};
        for (const auto &[name, text] : breaks)
            QTest::newRow(qPrintable(QStringLiteral("address holding %1 is skipped").arg(name)))
                << Lead + Dir + "a" + text + "a.jpg' " + Entry(c) << QByteArrayList{Latin1(c)} << QString();

        // The default member's pictures on the same page are someone else's now.
        const QString six = "http://pics.test/userdir/1/7/3/5/173590/own.jpg";
        const QString two = "http://pics.test/userdir/4/2/42/own.jpg";
        QTest::newRow("six-digit account: four folders, then the number")
            << Entry(Dir + "default.jpg") + Entry(six) << QByteArrayList{Latin1(six)} << "173590";
        QTest::newRow("two-digit account: a folder each")
            << Entry(Dir + "default.jpg") + Entry(two) << QByteArrayList{Latin1(two)} << "42";
    }

    void extractsAddresses()
    {
        QFETCH(QString, page);
        QFETCH(QByteArrayList, addresses);
        QFETCH(QString, account);
        const LinkExtractor extractor = account.isEmpty() ? LinkExtractor(Host) : LinkExtractor(Host, account);
        QCOMPARE(extractor.Extract(page), addresses);
        QCOMPARE(extractor.ExtractUtf8(page.toUtf8()), addresses);
    }

    void appendedAddressesStartALineOfTheirOwn_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("found");
        QTest::addColumn<QByteArray>("after");

        const QByteArray a = Latin1(Dir + "a.jpg\r\n");
        QTest::newRow("no url.txt yet") << TestFiles::Missing << 1 << a;
        QTest::newRow("ends with a lone CR") << QByteArray("x\r") << 1 << "x\r" + a;
        QTest::newRow("ends inside a line") << QByteArray("x") << 1 << "x\r\n" + a;
        QTest::newRow("ends with a lone LF, which belongs to the line") << QByteArray("x\n") << 1 << "x\n\r\n" + a;
        QTest::newRow("nothing found, the open line stays as it was") << QByteArray("x") << 0 << QByteArray("x");
    }

    void appendedAddressesStartALineOfTheirOwn()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, found);
        QFETCH(QByteArray, after);

        QTemporaryDir home;
        const QString path = LinkExtractor::UrlFilePath(home.path());
        QVERIFY(before == TestFiles::Missing || TestFiles::Write(path, before));
        int count = -1;
        QString error;
        const QString page = found ? Entry(Dir + "a.jpg") : QString();
        QVERIFY2(LinkExtractor(Host).AppendToUrlFile(home.path(), page, &count, &error), qPrintable(error));
        QCOMPARE(count, found);
        QCOMPARE(TestFiles::Read(path), after);
    }
};

QTEST_GUILESS_MAIN(TestLinkExtractor)
#include "tst_linkextractor.moc"
