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
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<QByteArray>("picture");

        const QByteArray type = "multipart/form-data; boundary=" + Boundary;
        const QByteArray odd = "\xFF\xD8\r\n--" + Boundary + "X\r\n--" + Boundary.chopped(1) + "\r\n\r\n\xFF\xD9";
        QTest::newRow("plain, as the uploader sends it") << Body(Default, "jpeg")
                                                         << "multipart/form-data; boundary=" + Default << true << "jpeg"_ba;
        QTest::newRow("delimiter text not ending its line, and a shorter one") << Body(Boundary, odd) << type << true
                                                                              << odd;
        QTest::newRow("framed by another boundary") << Body(Default, "jpeg") << type << false << QByteArray();
        QTest::newRow("no closing delimiter") << Body(Boundary, "jpeg").chopped(4) + "\r\n" << type << false
                                              << QByteArray();
        QTest::newRow("part without its blank line")
            << "--" + Boundary + "\r\nContent-Disposition: form-data; name=\"module\"\r\n--" + Boundary + "--\r\n"
            << type << false << QByteArray();
        QTest::newRow("part head over its cap")
            << QByteArray(Body(Boundary, "jpeg"))
                   .replace("Content-Disposition",
                            "X: " + QByteArray(MultipartForm::MaxPartHeadSize, 'x') + "\r\nContent-Disposition")
            << type << false << QByteArray();
        // Ten megabytes of nothing but part framing must not become millions of parts.
        QTest::newRow("a million empty parts") << "--x\r\n" + "\r\n\r\n--x\r\n"_ba.repeated(1000000) + "\r\n\r\n--x--"
                                               << "multipart/form-data; boundary=x"_ba << false << QByteArray();
        QTest::newRow("empty boundary") << Body("", "jpeg") << "multipart/form-data; boundary=\"\""_ba << false
                                        << QByteArray();
    }

    // The boundary as the stand-in takes it from the request's head.
    void parse()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(bool, parsed);
        QFETCH(QByteArray, picture);

        const std::optional<MultipartForm> form = MultipartForm::Parse(body, MultipartForm::BoundaryOf(contentType));
        QCOMPARE(form.has_value(), parsed);
        if (!form)
            return;
        QVERIFY(form->Find("module"));
        QCOMPARE(form->Find("module")->content, "photolib");
        QVERIFY(form->Find("new_file"));
        QCOMPARE(form->Find("new_file")->content.toByteArray(), picture);
    }
};

QTEST_GUILESS_MAIN(TestMultipartForm)
#include "tst_multipartform.moc"
