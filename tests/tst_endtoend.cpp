#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

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
    void StartStandIn(const QString &login, const QString &password);
    void StartUpload(const QString &login, const QString &password);
    QList<QByteArray> WritePictures(int count, int size);
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

void TestEndToEnd::StartStandIn(const QString &login, const QString &password)
{
    m_standIn->start(QStringLiteral(PICAROON_STANDIN_BIN),
                     {"--port", "0", "--login", login, "--password", password, "--store", Store()});
    QVERIFY(m_standIn->waitForStarted());
    QVERIFY(m_standIn->waitForReadyRead(10000));
    const QByteArray line = m_standIn->readLine().trimmed();
    QVERIFY2(line.startsWith("listening on 127.0.0.1:"), line.constData());
    m_port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
}

void TestEndToEnd::StartUpload(const QString &login, const QString &password)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PICAROON_PASSWORD"), password);
    m_upload->setProcessEnvironment(environment);
    m_upload->start(QStringLiteral(PICAROON_BIN),
                    {"upload", "--login", login, "--home", m_home->path(),
                     "--host", QStringLiteral("127.0.0.1:%1").arg(m_port)});
    QVERIFY(m_upload->waitForStarted());
}

QList<QByteArray> TestEndToEnd::WritePictures(int count, int size)
{
    QList<QByteArray> pictures;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
        bytes.prepend("\xFF\xD8\xFF\xE0");
        QFile file(QDir(Img()).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        pictures.append(bytes);
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
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("typedPassword");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("lastLine");

    QTest::newRow("every picture uploaded") << "member" << "secret" << 0 << "Готово";
    QTest::newRow("Cyrillic login") << "Кот ab" << "пароль" << 0 << "Готово";
    QTest::newRow("wrong password") << "member" << "guess" << 3 << "Неверное имя или пароль";
}

void TestEndToEnd::runOutcome()
{
    QFETCH(QString, login);
    QFETCH(QString, typedPassword);
    QFETCH(int, exitStatus);
    QFETCH(QString, lastLine);

    const QString password = exitStatus == 0 ? typedPassword : QStringLiteral("secret");
    StartStandIn(login, password);
    const QList<QByteArray> pictures = WritePictures(5, 20000);
    QCOMPARE(pictures.size(), 5);
    StartUpload(login, typedPassword);
    QVERIFY(m_upload->waitForFinished(30000));

    QCOMPARE(m_upload->exitCode(), exitStatus);
    const QStringList lines = QString::fromUtf8(m_upload->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.last(), lastLine);
    const QSet<QByteArray> sent(pictures.begin(), pictures.end());
    if (exitStatus == 0) {
        QCOMPARE(Contents(Store()), sent);
        QVERIFY(QDir(Img()).isEmpty());
    } else {
        QVERIFY(Contents(Store()).isEmpty());
        QCOMPARE(Contents(Img()), sent);
    }
}

void TestEndToEnd::standInStoppedMidRunLosesNothing()
{
    StartStandIn(QStringLiteral("member"), QStringLiteral("secret"));
    const QList<QByteArray> pictures = WritePictures(40, 1 << 20);
    QCOMPARE(pictures.size(), 40);
    StartUpload(QStringLiteral("member"), QStringLiteral("secret"));
    QTRY_VERIFY_WITH_TIMEOUT(QDir(Store()).entryList(QDir::Files).size() >= 2, 20000);
    m_standIn->kill();
    QVERIFY(m_upload->waitForFinished(30000));

    QCOMPARE(m_upload->exitCode(), 4);
    QVERIFY(m_upload->readAllStandardOutput().trimmed().endsWith("Error #10061"));
    // Every picture is in the service's store, or still in the image folder
    // (perhaps set aside), byte for byte.
    QSet<QByteArray> sent(pictures.begin(), pictures.end());
    const QSet<QByteArray> kept = Contents(Store()) + Contents(Img());
    QVERIFY(sent.subtract(kept).isEmpty());
    QVERIFY(!QDir(Img()).entryList({"*.jpg"}, QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
