#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

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
    void init();
    void cleanup();
    void runOutcome_data();
    void runOutcome();
    void standInStoppedMidRunLosesNothing();

private:
    QString Img() const { return m_home->filePath(QStringLiteral("img")); }
    QString Store() const { return m_home->filePath(QStringLiteral("store")); }
    void StartStandIn();
    void StartUpload(const QString &password);
    QSet<QByteArray> WritePictures(int count, int size);
    static QSet<QByteArray> Contents(const QString &folder);

    std::unique_ptr<QTemporaryDir> m_home;
    QProcess *m_standIn = nullptr;
    QProcess *m_upload = nullptr;
    quint16 m_port = 0;
};

void TestEndToEnd::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(Img()));
    m_standIn = new QProcess(this);
    m_upload = new QProcess(this);
}

void TestEndToEnd::cleanup()
{
    for (QProcess *process : {m_upload, m_standIn}) {
        process->kill();
        process->waitForFinished();
        delete process;
    }
}

void TestEndToEnd::StartStandIn()
{
    m_standIn->start(QStringLiteral(PICAROON_STANDIN_BIN),
                     {"--port", "0", "--login", Login, "--password", Password, "--store", Store()});
    QVERIFY(m_standIn->waitForStarted());
    QVERIFY(m_standIn->waitForReadyRead(10000));
    const QByteArray line = m_standIn->readLine().trimmed();
    QVERIFY2(line.startsWith("listening on 127.0.0.1:"), line.constData());
    m_port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
}

void TestEndToEnd::StartUpload(const QString &password)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PICAROON_PASSWORD"), password);
    m_upload->setProcessEnvironment(environment);
    m_upload->start(QStringLiteral(PICAROON_BIN),
                    {"upload", "--login", Login, "--home", m_home->path(),
                     "--host", QStringLiteral("127.0.0.1:%1").arg(m_port)});
    QVERIFY(m_upload->waitForStarted());
}

QSet<QByteArray> TestEndToEnd::WritePictures(int count, int size)
{
    QSet<QByteArray> pictures;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
        bytes.prepend("\xFF\xD8\xFF\xE0");
        QFile file(QDir(Img()).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        pictures.insert(bytes);
    }
    return pictures;
}

QSet<QByteArray> TestEndToEnd::Contents(const QString &folder)
{
    QSet<QByteArray> contents;
    for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            contents.insert(file.readAll());
    }
    return contents;
}

void TestEndToEnd::runOutcome_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("lastLine");

    QTest::newRow("every picture uploaded") << Password << 0 << "Готово";
    QTest::newRow("wrong password keeps every picture") << "guess" << 3 << "Неверное имя или пароль";
}

void TestEndToEnd::runOutcome()
{
    QFETCH(QString, password);
    QFETCH(int, exitStatus);
    QFETCH(QString, lastLine);

    StartStandIn();
    QSet<QByteArray> pictures = WritePictures(5, 20000);
    QCOMPARE(pictures.size(), 5);
    // A picture that holds the request's own delimiter lines: a service
    // parsing by the fixed boundary would store it cut short.
    const QByteArray delimiter = "------------IueSxZI5qhfr8cpW1iNd7v";
    const QByteArray tricky = "\xFF\xD8\r\n" + delimiter + "\r\nContent-Type: image/pjpeg\r\n\r\nX\r\n" + delimiter
                              + "--\r\n\r\n\xFF\xD9";
    QFile trickyFile(QDir(Img()).filePath(QStringLiteral("delimiter.jpg")));
    QVERIFY(trickyFile.open(QIODevice::WriteOnly) && trickyFile.write(tricky) == tricky.size());
    trickyFile.close();
    pictures.insert(tricky);
    StartUpload(password);
    QVERIFY(m_upload->waitForFinished(30000));

    QCOMPARE(m_upload->exitCode(), exitStatus);
    const QString output = QString::fromUtf8(m_upload->readAllStandardOutput()).trimmed();
    QCOMPARE(output.section('\n', -2, -2), lastLine);
    QCOMPARE(output.section('\n', -1), QStringLiteral("Загружено %1, отложено 0, пропущено 0").arg(exitStatus == 0 ? 6 : 0));
    const bool uploaded = exitStatus == 0;
    QCOMPARE(Contents(Store()), uploaded ? pictures : QSet<QByteArray>());
    QCOMPARE(Contents(Img()), uploaded ? QSet<QByteArray>() : pictures);
}

void TestEndToEnd::standInStoppedMidRunLosesNothing()
{
    StartStandIn();
    // Enough that a run cannot end before the test sees it start, even on a
    // busy machine.
    QSet<QByteArray> pictures = WritePictures(200, 1 << 19);
    QCOMPARE(pictures.size(), 200);
    StartUpload(Password);
    // Killed as the third picture starts: polling the store instead could
    // let a quick run finish first.
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += m_upload->readAllStandardOutput()).contains("Закачка 3 из 200"), 20000);
    m_standIn->kill();
    QVERIFY(m_upload->waitForFinished(30000));

    output += m_upload->readAllStandardOutput();
    QVERIFY2(m_upload->exitCode() == 4, output.right(400).constData());
    QVERIFY(QString::fromUtf8(output).trimmed().section('\n', -2, -2).endsWith("Error #10061"));
    // Every picture is in the service's store, or still in the image folder
    // (perhaps set aside), byte for byte.
    QVERIFY(pictures.subtract(Contents(Store()) + Contents(Img())).isEmpty());
    QVERIFY(!QDir(Img()).entryList({"*.jpg"}, QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
