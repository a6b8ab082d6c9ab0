#include "ScriptedPeer.h"

#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "upload/UploadCycle.h"
#include "upload/UploadView.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

const QRegularExpression Progress(QStringLiteral(R"(^Закачка \d+ из \d+ \((-?\d+)%\)$)"));

class RecordingView : public UploadView
{
public:
    void ShowStatus(const QString &text) override { statuses.append(text); }
    void ShowStopButton(bool shown) override { stopShown = shown; }
    QString LoginText() const override { return login; }
    QString PasswordText() const override { return password; }
    void ReportUnexpectedError(const QString &message) override { errors.append(message); }

    // The statuses with the send progress left out and a run of arrival
    // sizes cut to its last: both come in as many steps as the socket
    // chooses. ProgressIsSound() checks the progress.
    QStringList Milestones() const
    {
        QStringList kept;
        for (const QString &s : statuses) {
            if (Progress.match(s).hasMatch())
                continue;
            if (s.startsWith(QLatin1String("Load data")) && !kept.isEmpty()
                && kept.last().startsWith(QLatin1String("Load data")))
                kept.removeLast();
            kept.append(s);
        }
        return kept;
    }
    bool ProgressIsSound() const
    {
        int last = -1;
        for (const QString &s : statuses) {
            const auto m = Progress.match(s);
            if (!m.hasMatch())
                continue;
            const int percent = m.captured(1).toInt();
            if (percent < 0 || percent > 100 || percent < last)
                return false;
            last = percent;
        }
        return last == 100;
    }

    QStringList statuses;
    QStringList errors;
    bool stopShown = false;
    QString login = QStringLiteral("member");
    QString password = QStringLiteral("secret");

};

const QString Connecting = QStringLiteral("Соединение...");
const QString Done = QStringLiteral("Готово");

}

class TestUploadCycle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void onePictureJudgedByItsReply_data();
    void onePictureJudgedByItsReply();
    void eachPictureJudgedByItsOwnReply();
    void pictureAddedMidRunIsUploaded();
    void nextPictureIsSentAsItStandsAtItsTurn_data();
    void nextPictureIsSentAsItStandsAtItsTurn();
    void socketErrorEndsRunAndNextStartConnectsAgain();
    void stopWhileConnecting();
    void stopWhileSending();
    void unexpectedErrorEndsRunAndKeepsPicture_data();
    void unexpectedErrorEndsRunAndKeepsPicture();
    void emptyFolderDoesNothing();

private:
    QString Img(const QString &name) const { return QDir(m_files.Folder()).filePath(name); }
    void Write(const QString &name, const QByteArray &bytes);
    QByteArray Read(const QString &path);
    void StartAndWait();

    std::unique_ptr<QTemporaryDir> m_home;
    FileList m_files;
    RecordingView m_view;
    ScriptedPeer *m_peer = nullptr;
    UploadCycle *m_cycle = nullptr;
    QSignalSpy *m_ended = nullptr;
};

void TestUploadCycle::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QString error;
    QVERIFY2(ImageFolder::Prepare(m_home->path(), m_files, &error), qPrintable(error));
    m_view = RecordingView();
    m_peer = new ScriptedPeer(this);
    QVERIFY(m_peer->Listen());
    m_cycle = new UploadCycle(m_view, m_files, this);
    m_cycle->SetServer(QStringLiteral("127.0.0.1"), m_peer->serverPort());
    m_ended = new QSignalSpy(m_cycle, &UploadCycle::RunEnded);
}

void TestUploadCycle::cleanup()
{
    delete m_ended;
    delete m_cycle;
    delete m_peer;
}

void TestUploadCycle::Write(const QString &name, const QByteArray &bytes)
{
    QFile file(Img(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray TestUploadCycle::Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestUploadCycle::StartAndWait()
{
    m_cycle->Start();
    QTRY_COMPARE_WITH_TIMEOUT(m_ended->size(), 1, 10000);
}

void TestUploadCycle::onePictureJudgedByItsReply_data()
{
    QTest::addColumn<ScriptedPeer::Step>("answer");
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QStringList>("afterSending");
    QTest::addColumn<UploadCycle::Outcome>("outcome");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<bool>("setAside");

    const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(3000, 'j');
    const QString load0 = QStringLiteral("Load data - 0 Kb");
    const QString refused = QStringLiteral("Неверное имя или пароль");
    using O = UploadCycle::Outcome;
    QTest::newRow("accepted: deleted")
        << ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()) << jpeg
        << QStringList{load0, "OK", Done} << O::Done << true << false;
    QTest::newRow("login refused: picture stays, run ends")
        << ScriptedPeer::Reply(ScriptedPeer::RefusedPage()) << jpeg
        << QStringList{load0, refused} << O::Refused << false << false;
    QTest::newRow("both markers count as refused")
        << ScriptedPeer::Reply(ScriptedPeer::AcceptedPage() + ScriptedPeer::RefusedPage()) << jpeg
        << QStringList{load0, refused} << O::Refused << false << false;
    QTest::newRow("neither marker: set aside")
        << ScriptedPeer::Reply("<html>Internal error</html>") << jpeg
        << QStringList{load0, "Failed", Done} << O::Done << false << true;
    QTest::newRow("a reply of exactly Stop is judged like any other")
        << ScriptedPeer::Reply("Stop") << jpeg
        << QStringList{load0, "Failed", Done} << O::Done << false << true;
    QTest::newRow("peer closes without a byte: set aside")
        << ScriptedPeer::Silent() << jpeg
        << QStringList{"Failed", Done} << O::Done << false << true;
    QTest::newRow("empty picture uploads like any other")
        << ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()) << QByteArray()
        << QStringList{load0, "OK", Done} << O::Done << true << false;
    QTest::newRow("marker at the end of a long reply")
        << ScriptedPeer::Reply(QByteArray(3 * 1024 * 1024, 'x') + ScriptedPeer::AcceptedPage()) << jpeg
        << QStringList{"Load data - 3072 Kb", "OK", Done} << O::Done << true << false;
}

void TestUploadCycle::onePictureJudgedByItsReply()
{
    QFETCH(ScriptedPeer::Step, answer);
    QFETCH(QByteArray, picture);
    QFETCH(QStringList, afterSending);
    QFETCH(UploadCycle::Outcome, outcome);
    QFETCH(bool, deleted);
    QFETCH(bool, setAside);

    Write(QStringLiteral("a.jpg"), picture);
    m_peer->script = {answer};
    StartAndWait();

    QCOMPARE(m_ended->at(0).at(0).value<UploadCycle::Outcome>(), outcome);
    QCOMPARE(m_view.Milestones(), QStringList({Connecting, QStringLiteral("Закачка 1 из 1")}) + afterSending);
    QVERIFY(m_view.ProgressIsSound());
    QVERIFY(!m_view.stopShown);
    QVERIFY(m_view.errors.isEmpty());

    QCOMPARE(m_peer->requests.size(), 1);
    QCOMPARE(ScriptedPeer::PictureOf(m_peer->requests.first()), picture);
    QCOMPARE(QFile::exists(Img("a.jpg")), !deleted && !setAside);
    QCOMPARE(QFile::exists(Img("a.jpg_!")), setAside);
    if (setAside)
        QCOMPARE(Read(Img("a.jpg_!")), picture);
    if (!deleted && !setAside)
        QCOMPARE(Read(Img("a.jpg")), picture);
}

void TestUploadCycle::eachPictureJudgedByItsOwnReply()
{
    Write(QStringLiteral("a.jpg"), "first");
    Write(QStringLiteral("B.JPG"), "second");
    Write(QStringLiteral("c.jpg"), "third");
    Write(QStringLiteral("notes.txt"), "not a picture");
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()),
                      ScriptedPeer::Reply("<html>busy</html>"),
                      ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    StartAndWait();

    const QStringList expected = {
        Connecting, "Закачка 1 из 3", "Load data - 0 Kb", "OK",
        Connecting, "Закачка 2 из 3", "Load data - 0 Kb", "Failed",
        Connecting, "Закачка 3 из 3", "Load data - 0 Kb", "OK", Done};
    QCOMPARE(m_view.Milestones(), expected);
    QCOMPARE(m_peer->connections, 3);
    QCOMPARE(ScriptedPeer::PictureOf(m_peer->requests.at(1)), QByteArray("second"));
    QCOMPARE(QDir(m_files.Folder()).entryList(QDir::Files), QStringList({"B.JPG_!", "notes.txt"}));
    QCOMPARE(Read(Img("B.JPG_!")), QByteArray("second"));
}

void TestUploadCycle::pictureAddedMidRunIsUploaded()
{
    Write(QStringLiteral("a.jpg"), "first");
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    connect(m_peer, &ScriptedPeer::RequestReceived, this, [this](int index) {
        if (index == 0)
            Write(QStringLiteral("added.jpg"), "added later");
    });
    StartAndWait();

    QVERIFY(m_view.statuses.contains("Закачка 2 из 1"));
    QCOMPARE(m_view.statuses.last(), Done);
    QCOMPARE(ScriptedPeer::PictureOf(m_peer->requests.at(1)), QByteArray("added later"));
    QVERIFY(QDir(m_files.Folder()).isEmpty());
}

void TestUploadCycle::nextPictureIsSentAsItStandsAtItsTurn_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("cookie");

    const QString secret = QStringLiteral("user_pass=5ebe2294ecd0e0f08eab7690d2a6ee69");
    QTest::newRow("unchanged") << "none" << QByteArrayList{"first", "second", "third"} << secret;
    QTest::newRow("rewritten in place, same size")
        << "rewrite" << QByteArrayList{"first", "SECOND", "third"} << secret;
    QTest::newRow("grown") << "append" << QByteArrayList{"first", "second and more", "third"} << secret;
    QTest::newRow("replaced by another file")
        << "replace" << QByteArrayList{"first", "replacement", "third"} << secret;
    QTest::newRow("deleted") << "delete" << QByteArrayList{"first", "third"} << secret;
    // The MD5 of "changed".
    QTest::newRow("password changed")
        << "password" << QByteArrayList{"first", "second", "third"}
        << "user_pass=8977dfac2f8e04cb96e66882235f5aba";
}

void TestUploadCycle::nextPictureIsSentAsItStandsAtItsTurn()
{
    QFETCH(QString, change);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, cookie);

    Write(QStringLiteral("a.jpg"), "first");
    Write(QStringLiteral("b.jpg"), "second");
    Write(QStringLiteral("c.jpg"), "third");
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    // By the time the service has the first request whole, the cycle is
    // waiting for its reply and may have read b.jpg already.
    connect(m_peer, &ScriptedPeer::RequestReceived, this, [&](int index) {
        if (index != 0)
            return;
        if (change == "rewrite" || change == "append") {
            QFile file(Img("b.jpg"));
            QVERIFY(file.open(change == "rewrite" ? QIODevice::ReadWrite : QIODevice::Append));
            file.write(change == "rewrite" ? "SECOND" : " and more");
        } else if (change == "replace") {
            Write(QStringLiteral("new.tmp"), "replacement");
            QCOMPARE(std::rename(QFile::encodeName(Img("new.tmp")).constData(),
                                 QFile::encodeName(Img("b.jpg")).constData()), 0);
        } else if (change == "delete") {
            QVERIFY(QFile::remove(Img("b.jpg")));
        } else if (change == "password") {
            m_view.password = QStringLiteral("changed");
        }
    });
    StartAndWait();

    QCOMPARE(m_view.statuses.last(), Done);
    QByteArrayList pictures;
    for (const QByteArray &request : std::as_const(m_peer->requests))
        pictures.append(ScriptedPeer::PictureOf(request));
    QCOMPARE(pictures, sent);
    QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.at(1), "Cookie").endsWith(cookie.toLatin1()));
    QVERIFY(QDir(m_files.Folder()).isEmpty());
}

void TestUploadCycle::socketErrorEndsRunAndNextStartConnectsAgain()
{
    Write(QStringLiteral("a.jpg"), "picture");
    const quint16 port = m_peer->serverPort();
    m_peer->close();
    StartAndWait();

    QCOMPARE(m_view.statuses, QStringList({Connecting, "Error #10061"}));
    QCOMPARE(m_ended->at(0).at(0).value<UploadCycle::Outcome>(), UploadCycle::Outcome::SocketError);
    QVERIFY(!m_view.stopShown);
    QVERIFY(QFile::exists(Img("a.jpg")));
    QCOMPARE(m_cycle->FileNo(), 1);

    QVERIFY(m_peer->Listen(port));
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    m_view.statuses.clear();
    m_ended->clear();
    StartAndWait();
    QCOMPARE(m_view.Milestones(), QStringList({Connecting, "Закачка 1 из 1", "Load data - 0 Kb", "OK", Done}));
    QVERIFY(!QFile::exists(Img("a.jpg")));
}

void TestUploadCycle::stopWhileConnecting()
{
    Write(QStringLiteral("a.jpg"), "picture");
    m_cycle->Start();
    QVERIFY(m_view.stopShown);
    QCOMPARE(m_cycle->CurrentState(), UploadCycle::State::Connecting);
    m_cycle->Stop();

    QCOMPARE(m_view.statuses, QStringList({Connecting, QStringLiteral("Остановлено")}));
    QVERIFY(!m_view.stopShown);
    QCOMPARE(m_ended->size(), 1);
    QCOMPARE(m_ended->at(0).at(0).value<UploadCycle::Outcome>(), UploadCycle::Outcome::Stopped);
    QTest::qWait(50);
    QCOMPARE(m_view.statuses.size(), 2);
    QVERIFY(QFile::exists(Img("a.jpg")));
}

void TestUploadCycle::stopWhileSending()
{
    Write(QStringLiteral("a.jpg"), "picture");
    m_peer->script = {ScriptedPeer::Hold()};
    QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
    m_cycle->Start();
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(m_cycle->CurrentState(), UploadCycle::State::Sending);
    m_cycle->Stop();

    QCOMPARE(m_view.statuses.last(), QStringLiteral("Остановлено"));
    QVERIFY(!m_view.stopShown);
    // Our own close must never come back as a reply to judge.
    const qsizetype shown = m_view.statuses.size();
    QTest::qWait(50);
    QCOMPARE(m_view.statuses.size(), shown);
    QCOMPARE(m_ended->size(), 1);
    QCOMPARE(Read(Img("a.jpg")), QByteArray("picture"));
    QVERIFY(!QFile::exists(Img("a.jpg_!")));
}

void TestUploadCycle::unexpectedErrorEndsRunAndKeepsPicture_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("blockSetAside");
    QTest::addColumn<QString>("named");

    QTest::newRow("set-aside name taken by a folder") << "secret" << true << "a.jpg";
    QTest::newRow("password too long for the hasher") << QString(32768, 'p') << false << "Overflow";
}

void TestUploadCycle::unexpectedErrorEndsRunAndKeepsPicture()
{
    QFETCH(QString, password);
    QFETCH(bool, blockSetAside);
    QFETCH(QString, named);

    Write(QStringLiteral("a.jpg"), "picture");
    Write(QStringLiteral("b.jpg"), "next");
    if (blockSetAside) {
        QVERIFY(QDir(m_files.Folder()).mkpath(QStringLiteral("a.jpg_!/inside")));
    }
    m_view.password = password;
    m_peer->script = {ScriptedPeer::Reply("<html>no marker</html>")};
    StartAndWait();

    QCOMPARE(m_ended->at(0).at(0).value<UploadCycle::Outcome>(), UploadCycle::Outcome::Unexpected);
    QCOMPARE(m_view.errors.size(), 1);
    QVERIFY2(m_view.errors.first().contains(named), qPrintable(m_view.errors.first()));
    QVERIFY(!m_view.stopShown);
    QCOMPARE(Read(Img("a.jpg")), QByteArray("picture"));
    QCOMPARE(Read(Img("b.jpg")), QByteArray("next"));
    QVERIFY(m_peer->requests.size() <= 1);
}

void TestUploadCycle::emptyFolderDoesNothing()
{
    Write(QStringLiteral("old.jpg_!"), "set aside earlier");
    m_cycle->Start();
    QCOMPARE(m_ended->size(), 1);
    QCOMPARE(m_ended->at(0).at(0).value<UploadCycle::Outcome>(), UploadCycle::Outcome::NothingToUpload);
    QVERIFY(m_view.statuses.isEmpty());
    QVERIFY(!m_view.stopShown);
    QCOMPARE(m_peer->connections, 0);
}

QTEST_GUILESS_MAIN(TestUploadCycle)
#include "tst_uploadcycle.moc"
