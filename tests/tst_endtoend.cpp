#include "StandinProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestFiles;

namespace {

// Cyrillic both: they must come through the command line, the cookie's
// encoding and the stand-in's decoding alike.
const QString Login = QStringLiteral("Кот ab");
const QString Password = QStringLiteral("пароль");

}

// The real program against the real stand-in, both as processes: what a
// member's run does to the pictures, end to end.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void runOutcome_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("holdAfter"); // requests answered before the stand-in is stopped; -1: never stopped
        QTest::addColumn<int>("exitStatus");
        QTest::addColumn<QString>("lastStatus");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("setAside");

        QTest::newRow("every picture uploaded") << Password << -1 << 0 << "Готово" << 6 << 0;
        QTest::newRow("wrong password keeps every picture")
            << "guess" << -1 << 3 << "Неверное имя или пароль" << 0 << 0;
        QTest::newRow("stand-in stopped mid-run: a second run refused, the picture in flight set aside, the rest kept")
            << Password << 2 << 4 << "Error #10061" << 2 << 1;
    }

    void runOutcome()
    {
        QFETCH(QString, password);
        QFETCH(int, holdAfter);
        QFETCH(int, exitStatus);
        QFETCH(QString, lastStatus);
        QFETCH(int, stored);
        QFETCH(int, setAside);

        QTemporaryDir home;
        const QString img = home.filePath("img"), store = home.filePath("store");
        // The last holds the request's own delimiter lines: a service parsing
        // by the fixed boundary would store it cut short.
        const QByteArray delimiter = "------------IueSxZI5qhfr8cpW1iNd7v";
        QSet<QByteArray> pictures;
        for (int i = 0; i < 6; ++i) {
            QByteArray bytes(20000, Qt::Uninitialized);
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            bytes = i < 5 ? "\xFF\xD8\xFF\xE0" + bytes
                          : "\xFF\xD8\r\n" + delimiter + "\r\nContent-Type: image/pjpeg\r\n\r\nX\r\n" + delimiter + "--\r\n\r\n\xFF\xD9";
            pictures.insert(bytes);
            QVERIFY(Write(QDir(img).filePath(QStringLiteral("photo%1.jpg").arg(i)), bytes));
        }

        StandinProcess standIn;
        QStringList limits{"--login", Login, "--password", Password, "--store", store};
        if (holdAfter >= 0)
            limits << "--hold-after" << QString::number(holdAfter);
        QVERIFY(standIn.Start(PICAROON_STANDIN_BIN, limits));
        const ProgramRun run =
            ProgramRun(PICAROON_BIN, {"upload", "--login", Login, "--home", home.path(), "--host", standIn.Address(),
                                      "--retry-for", "0"})
                .Set("PICAROON_PASSWORD", password);
        const std::unique_ptr<QProcess> upload = run.Start();
        if (holdAfter >= 0) {
            QVERIFY(standIn.LogShows(" held "));
            // Held mid-run, the folder turns a second run away at once.
            const ProgramResult second = run.Run();
            QCOMPARE(second.status, 7);
            QVERIFY(second.errors.contains("picaroon upload (process " + QByteArray::number(upload->processId())));
            standIn.Stop();
        }
        const ProgramResult first = ProgramRun::Finish(*upload);

        QVERIFY2(first.status == exitStatus, first.errors.constData());
        const QString output = QString::fromUtf8(first.output).trimmed();
        QVERIFY2(output.section('\n', -2, -2).endsWith(lastStatus), qPrintable(output));
        QCOMPARE(output.section('\n', -1),
                 QStringLiteral("Загружено %1, отложено %2, пропущено 0").arg(stored).arg(setAside));
        // Every picture is in the service's store or still in the image
        // folder, byte for byte.
        const QSet<QByteArray> kept = Contents(img);
        QCOMPARE(Contents(store).size(), stored);
        QCOMPARE(Contents(store) + kept, pictures);
        QCOMPARE(kept.size(), pictures.size() - stored);
        QCOMPARE(QDir(img).entryList({"*.jpg_!"}, QDir::Files).size(), setAside);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
