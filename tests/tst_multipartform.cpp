#include "standin/MultipartForm.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Boundary = "----------Xq7Tz2Lp9Rw4Ks6Vn1Bc3M";
const QByteArray Default = "----------IueSxZI5qhfr8cpW1iNd7v";

QByteArray Part(const QByteArray &boundary, const QByteArray &name, const QByteArray &content)
{
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + content + "\r\n";
}

QByteArray Body(const QByteArray &boundary, const QByteArray &picture)
{
    return Part(boundary, "module", "photolib") + Part(boundary, "new_file", picture) + "--" + boundary + "--\r\n";
}

}

// The multipart body as the stand-in splits it: by the request's own
// boundary, a delimiter only where a whole one stands, and never at more
// cost than the body's own size.
class TestMultipartForm : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("boundary");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<QByteArray>("picture");

        const QByteArray odd = "\xFF\xD8\r\n--" + Boundary + "X\r\n--" + Boundary.chopped(1) + "\r\n\r\n\xFF\xD9";
        QTest::newRow("plain") << Body(Boundary, "jpeg") << Boundary << true << "jpeg"_ba;
        QTest::newRow("the default's delimiter lines in a picture framed by another")
            << Body(Boundary, "\r\n--" + Default + "\r\n--" + Default + "--\r\n") << Boundary << true
            << "\r\n--" + Default + "\r\n--" + Default + "--\r\n";
        QTest::newRow("delimiter text not ending its line, and a shorter one")
            << Body(Boundary, odd) << Boundary << true << odd;
        QTest::newRow("framed by another boundary") << Body(Default, "jpeg") << Boundary << false << QByteArray();
        QTest::newRow("no closing delimiter") << Body(Boundary, "jpeg").chopped(4) + "\r\n" << Boundary << false
                                              << QByteArray();
        QTest::newRow("part without its blank line")
            << "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"module\"\r\n--" + Boundary + "--\r\n"
            << Boundary << false << QByteArray();
        QTest::newRow("part head over its cap")
            << QByteArray(Body(Boundary, "jpeg"))
                   .replace("Content-Disposition",
                            "X: " + QByteArray(MultipartForm::MaxPartHeadSize, 'x') + "\r\nContent-Disposition")
            << Boundary << false << QByteArray();
        // Ten megabytes of nothing but part framing must not become millions of parts.
        QTest::newRow("a million empty parts")
            << "--x\r\n" + "\r\n\r\n--x\r\n"_ba.repeated(1000000) + "\r\n\r\n--x--" << "x"_ba << false << QByteArray();
        QTest::newRow("no boundary") << Body(Boundary, "jpeg") << QByteArray() << false << QByteArray();
    }

    void parse()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, boundary);
        QFETCH(bool, parsed);
        QFETCH(QByteArray, picture);

        const std::optional<MultipartForm> form = MultipartForm::Parse(body, boundary);
        QCOMPARE(form.has_value(), parsed);
        if (!form)
            return;
        QVERIFY(form->Find("module"));
        QCOMPARE(form->Find("module")->content, "photolib");
        QVERIFY(form->Find("new_file"));
        QCOMPARE(form->Find("new_file")->content.toByteArray(), picture);
    }

    void boundaryOf_data()
    {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("boundary");

        QTest::newRow("as the uploader sends it") << "multipart/form-data; boundary=" + Default << Default;
        QTest::newRow("quoted") << "multipart/form-data; boundary=\"" + Boundary + "\"" << Boundary;
        QTest::newRow("names in another case, another parameter first")
            << "Multipart/Form-Data; charset=utf-8; BOUNDARY=" + Boundary << Boundary;
        QTest::newRow("empty boundary") << "multipart/form-data; boundary=\"\""_ba << QByteArray();
        QTest::newRow("another type") << "multipart/mixed; boundary=" + Boundary << QByteArray();
        QTest::newRow("71 characters") << "multipart/form-data; boundary=" + QByteArray(71, 'b') << QByteArray();
    }

    void boundaryOf()
    {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, boundary);

        QCOMPARE(MultipartForm::BoundaryOf(contentType), boundary);
    }
};

QTEST_GUILESS_MAIN(TestMultipartForm)
#include "tst_multipartform.moc"
