#include "ScriptedPeer.h"
#include "TestFiles.h"

#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "upload/RunSummary.h"
#include "upload/UploadCycle.h"
#include "upload/UploadLog.h"
#include "settings/HostAddress.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

using namespace Qt::StringLiterals;

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QRegularExpression Progress(QStringLiteral(R"(^Закачка \d+ из \d+ \((-?\d+)%\)$)"));

// Everything the cycle tells whoever shows it.
struct Recorder
{
    void Follow(UploadCycle &cycle)
    {
        QObject::connect(&cycle, &UploadCycle::StatusChanged, [this](const QString &text) { statuses.append(text); });
        QObject::connect(&cycle, &UploadCycle::RunStarted, [this] { running = true; });
        QObject::connect(&cycle, &UploadCycle::RunEnded, [this](UploadCycle::Outcome, const QString &message) {
            running = false;
            if (!message.isEmpty())
                errors.append(message);
        });
        QObject::connect(&cycle, &UploadCycle::PictureHandled, [this](const PictureOutcome &outcome) {
            if (outcome.kind == PictureOutcome::Kind::PassedOver)
                passedOver.append(QFileInfo(outcome.path).fileName() + QStringLiteral(": ") + outcome.words);
        });
    }

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
    QStringList passedOver;
    bool running = false;
};

const QString Connecting = QStringLiteral("Соединение...");
const QString Done = QStringLiteral("Готово");
const QString Refused = QStringLiteral("Неверное имя или пароль");
const QString Load0 = QStringLiteral("Load data - 0 Kb");

}

class TestUploadCycle : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QString error;
        QVERIFY2(ImageFolder::Prepare(m_home->path(), m_files, &error), qPrintable(error));
        m_view = Recorder();
        m_peer = new ScriptedPeer(this);
        QVERIFY(m_peer->Listen());
        m_cycle = new UploadCycle(m_files, this);
        m_view.Follow(*m_cycle);
        m_cycle->SetServer(HostAddress(QStringLiteral("127.0.0.1"), m_peer->serverPort()));
        m_cycle->SetCredentials(QStringLiteral("member"), QStringLiteral("secret"));
        m_ended = new QSignalSpy(m_cycle, &UploadCycle::RunEnded);
    }

    void cleanup()
    {
        delete m_ended;
        delete m_cycle;
        delete m_peer;
    }

    void onePictureJudgedByItsReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<QStringList>("afterSending");
        QTest::addColumn<QStringList>("left");

        const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(3000, 'j');
        const QByteArray accepted = ScriptedPeer::AcceptedPage();
        const QStringList ok = {Load0, "OK", Done};
        const QStringList failed = {Load0, "Failed", Done};
        QTest::newRow("accepted: deleted") << accepted << jpeg << ok << QStringList();
        QTest::newRow("login refused: picture stays, run ends")
            << ScriptedPeer::RefusedPage() << jpeg << QStringList{Load0, Refused} << QStringList{"a.jpg"};
        QTest::newRow("neither marker: set aside")
            << QByteArray("<html>Internal error</html>") << jpeg << failed << QStringList{"a.jpg_!"};
        QTest::newRow("peer closes without a byte: set aside")
            << QByteArray() << jpeg << QStringList{"Failed", Done} << QStringList{"a.jpg_!"};
        QTest::newRow("empty picture uploads like any other") << accepted << QByteArray() << ok << QStringList();
        QTest::newRow("marker at the end of a long reply")
            << QByteArray(3 * 1024 * 1024, 'x') + accepted << jpeg
            << QStringList{"Load data - 3072 Kb", "OK", Done} << QStringList();
    }

    void onePictureJudgedByItsReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, picture);
        QFETCH(QStringList, afterSending);
        QFETCH(QStringList, left);

        Write(QStringLiteral("a.jpg"), picture);
        m_peer->script = {ScriptedPeer::Reply(reply)};
        StartAndWait();

        QCOMPARE(EndedAs(), afterSending.last() == Done ? UploadCycle::Outcome::Done : UploadCycle::Outcome::Refused);
        QCOMPARE(m_view.Milestones(), QStringList({Connecting, QStringLiteral("Закачка 1 из 1")}) + afterSending);
        QVERIFY(m_view.ProgressIsSound());
        QVERIFY(!m_view.running);
        QCOMPARE(Sent(), QByteArrayList{picture});
        QCOMPARE(Left(), left);
        for (const QString &name : left)
            QCOMPARE(Read(name), picture);
    }

    void eachPictureJudgedByItsOwnReply()
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
            Connecting, "Закачка 1 из 3", Load0, "OK",
            Connecting, "Закачка 2 из 3", Load0, "Failed",
            Connecting, "Закачка 3 из 3", Load0, "OK", Done};
        QCOMPARE(m_view.Milestones(), expected);
        // The peer takes one request per connection, so a reused one would lose a picture.
        QCOMPARE(Sent(), QByteArrayList({"first", "second", "third"}));
        QCOMPARE(Left(), QStringList({"B.JPG_!", "notes.txt"}));
        QCOMPARE(Read(QStringLiteral("B.JPG_!")), QByteArray("second"));
    }

    // Another program (or an import) changes the folder while the service
    // judges the first picture: each picture goes as it stands at its turn, and
    // bytes never sent never leave the folder.
    void nextPictureIsSentAsItStandsAtItsTurn_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QByteArray>("firstReply");
        QTest::addColumn<QByteArrayList>("sent");

        const QByteArray accepted = ScriptedPeer::AcceptedPage();
        QTest::newRow("next rewritten in place, same size") << "rewrite b.jpg" << accepted << QByteArrayList{"first", "SECOND", "third"};
        QTest::newRow("next replaced by another file") << "replace b.jpg" << accepted << QByteArrayList{"first", "replacement", "third"};
        QTest::newRow("next deleted") << "delete b.jpg" << accepted << QByteArrayList{"first", "third"};
        QTest::newRow("another added before the next")
            << "add" << accepted << QByteArrayList{"first", "added later", "second", "third"};
        QTest::newRow("password changed") << "password" << accepted << QByteArrayList{"first", "second", "third"};
        QTest::newRow("accepted one replaced by a rename: the new one goes too")
            << "replace a.jpg" << accepted << QByteArrayList{"first", "replacement", "second", "third"};
        QTest::newRow("failed one rewritten in place, longer: the new one goes too")
            << "rewrite a.jpg" << QByteArray("<html>no marker</html>") << QByteArrayList{"first", "SECOND, longer", "second", "third"};
    }

    void nextPictureIsSentAsItStandsAtItsTurn()
    {
        QFETCH(QString, change);
        QFETCH(QByteArray, firstReply);
        QFETCH(QByteArrayList, sent);

        Write(QStringLiteral("a.jpg"), "first");
        Write(QStringLiteral("b.jpg"), "second");
        Write(QStringLiteral("c.jpg"), "third");
        m_peer->script = {ScriptedPeer::Reply(firstReply), ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        // By the time the service has the first request whole, the cycle is
        // waiting for its reply and may have read b.jpg already.
        connect(m_peer, &ScriptedPeer::RequestReceived, this, [&](int index) {
            if (index != 0)
                return;
            const QString name = change.section(' ', 1);
            if (change.startsWith("rewrite")) {
                QFile file(Img(name));
                QVERIFY(file.open(QIODevice::ReadWrite));
                file.write(name == "a.jpg" ? "SECOND, longer" : "SECOND");
            } else if (change.startsWith("replace")) {
                Write(QStringLiteral("new.tmp"), "replacement");
                QCOMPARE(std::rename(QFile::encodeName(Img("new.tmp")).constData(),
                                     QFile::encodeName(Img(name)).constData()), 0);
            } else if (change.startsWith("delete")) {
                QVERIFY(QFile::remove(Img(name)));
            } else if (change == "add") {
                Write(QStringLiteral("added.jpg"), "added later");
            } else {
                m_cycle->SetCredentials(QStringLiteral("member"), QStringLiteral("changed"));
            }
        });
        StartAndWait();

        QCOMPARE(EndedAs(), UploadCycle::Outcome::Done);
        QCOMPARE(Sent(), sent);
        QVERIFY(Left().isEmpty());
        // The total stays as counted at the start.
        QVERIFY(m_view.statuses.contains(QStringLiteral("Закачка %1 из 3").arg(sent.size())));
        const QByteArray password = change == "password" ? "changed" : "secret";
        const QByteArray pass = QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex();
        QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.at(1), "Cookie").endsWith("user_pass=" + pass));
    }

    // Nothing the service said ends these runs; every picture stays as it was.
    void runEndsWithoutAReply_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<UploadCycle::Outcome>("outcome");
        QTest::addColumn<QStringList>("statuses");
        using O = UploadCycle::Outcome;
        QTest::newRow("connection refused: a later Start connects again")
            << "refused" << O::SocketError << QStringList{Connecting, "Error #10061"};
        QTest::newRow("connection never established: timed out")
            << "unanswered handshake" << O::SocketError << QStringList{Connecting, "Error #10060"};
        QTest::newRow("service never answers: timed out")
            << "silent" << O::SocketError << QStringList{Connecting, "Закачка 1 из 2", "Error #10060"};
        QTest::newRow("a password too long to hash, before anything is sent")
            << "long password" << O::Unexpected << QStringList{Connecting, "Закачка 1 из 2"};
        QTest::newRow("only set-aside pictures: nothing to upload, nothing said")
            << "nothing" << O::NothingToUpload << QStringList{};
    }

    void runEndsWithoutAReply()
    {
        QFETCH(QString, trouble);
        QFETCH(UploadCycle::Outcome, outcome);
        QFETCH(QStringList, statuses);

        const QStringList pictures = trouble == "nothing" ? QStringList{"old.jpg_!"} : QStringList{"a.jpg", "b.jpg"};
        for (const QString &name : pictures)
            Write(name, name.toUtf8());
        // A listener whose one-place queue is already taken never completes
        // another connection: the kernel drops the newcomer's handshake.
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        const int filler = socket(AF_INET, SOCK_STREAM, 0);
        auto closeBoth = qScopeGuard([&] { ::close(filler); ::close(listener); });
        if (trouble == "unanswered handshake") {
            sockaddr_in address {};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t length = sizeof address;
            QVERIFY(bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            QVERIFY(listen(listener, 0) == 0);
            QVERIFY(getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
            QVERIFY(::connect(filler, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
            m_cycle->SetServer(HostAddress(QStringLiteral("127.0.0.1"), ntohs(address.sin_port)));
        }
        const quint16 port = m_peer->serverPort();
        if (trouble == "refused")
            m_peer->close();
        if (trouble == "long password")
            m_cycle->SetCredentials(QStringLiteral("member"), QString(32768, 'p'));
        m_peer->script = {ScriptedPeer::Hold()};
        m_cycle->SetTimeout(1);
        StartAndWait();

        QCOMPARE(EndedAs(), outcome);
        QCOMPARE(m_view.Milestones(), statuses);
        QVERIFY(!m_view.running);
        QCOMPARE(m_view.errors.size(), outcome == UploadCycle::Outcome::Unexpected ? 1 : 0);
        if (!m_view.errors.isEmpty())
            QVERIFY2(m_view.errors.first().contains("Overflow"), qPrintable(m_view.errors.first()));
        QCOMPARE(Left(), pictures);
        for (const QString &name : pictures)
            QCOMPARE(Read(name), name.toUtf8());

        if (trouble == "refused") {
            QVERIFY(m_peer->Listen(port));
            m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
            m_view.statuses.clear();
            m_ended->clear();
            StartAndWait();
            QCOMPARE(Sent(), QByteArrayList({"a.jpg", "b.jpg"}));
            QVERIFY(Left().isEmpty());
        }
    }

    void stopEndsRunQuietlyAndKeepsPicture_data()
    {
        QTest::addColumn<bool>("sending");
        QTest::newRow("while connecting") << false;
        QTest::newRow("while the service holds the request") << true;
    }

    void stopEndsRunQuietlyAndKeepsPicture()
    {
        QFETCH(bool, sending);

        Write(QStringLiteral("a.jpg"), "picture");
        m_peer->script = {ScriptedPeer::Hold()};
        QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
        m_cycle->Start();
        QVERIFY(m_view.running);
        if (sending) {
            QTRY_COMPARE(received.size(), 1);
        }
        QCOMPARE(m_cycle->CurrentState(), sending ? UploadCycle::State::Sending : UploadCycle::State::Connecting);
        m_cycle->Stop();

        QCOMPARE(m_view.statuses.last(), QStringLiteral("Остановлено"));
        QVERIFY(!m_view.running);
        QCOMPARE(EndedAs(), UploadCycle::Outcome::Stopped);
        // Our own close must never come back as a reply to judge.
        const qsizetype shown = m_view.statuses.size();
        if (sending) {
            QSignalSpy closed(m_peer, &ScriptedPeer::ClientClosed);
            QTRY_COMPARE(closed.size(), 1);
            QCoreApplication::processEvents();
        }
        QCOMPARE(m_view.statuses.size(), shown);
        QCOMPARE(m_ended->size(), 1);
        QCOMPARE(Left(), QStringList{"a.jpg"});
        QCOMPARE(Read(QStringLiteral("a.jpg")), QByteArray("picture"));
    }

    void setAsideNeverReplacesAnEarlierOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("earlier");
        QTest::addColumn<QString>("aside");

        QTest::newRow("an earlier one kept") << "a.jpg" << QStringList{"a.jpg_!"} << "a (2).jpg_!";
        QTest::newRow("a gap is filled first") << "a.jpg" << QStringList{"a.jpg_!", "a (3).jpg_!"} << "a (2).jpg_!";
    }

    void setAsideNeverReplacesAnEarlierOne()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, earlier);
        QFETCH(QString, aside);

        for (const QString &old : earlier)
            Write(old, "earlier " + old.toUtf8());
        Write(name, "this time");
        m_peer->script = {ScriptedPeer::Reply("<html>no marker</html>")};
        StartAndWait();

        QCOMPARE(EndedAs(), UploadCycle::Outcome::Done);
        QCOMPARE(Read(aside), QByteArray("this time"));
        for (const QString &old : earlier)
            QCOMPARE(Read(old), "earlier " + old.toUtf8());
        QCOMPARE(Left().size(), earlier.size() + 1);
    }

    void unsendablePictureIsPassedOver_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");

        QTest::newRow("a named pipe") << "fifo" << "not a regular file";
        QTest::newRow("a dangling link") << "dangling link" << "No such file or directory";
        QTest::newRow("a sparse picture above the cap") << "huge" << "larger than 256 MiB";
        QTest::newRow("a name too long to set aside") << "long name" << "File name too long";
    }

    void unsendablePictureIsPassedOver()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);

        // Sorted first, so that a stall or an end of the run would keep b.jpg.
        QString bad = QStringLiteral("a.jpg");
        const QByteArray path = QFile::encodeName(Img(bad));
        if (kind == "fifo") {
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
        } else if (kind == "dangling link") {
            QCOMPARE(symlink("nowhere", path.constData()), 0);
        } else if (kind == "huge") {
            QFile huge(Img(bad));
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(300) * 1024 * 1024));
        } else {
            bad = QString(251, 'a') + QStringLiteral(".jpg");
            Write(bad, "cannot be set aside");
        }
        Write(QStringLiteral("b.jpg"), "fine");
        m_peer->script = {ScriptedPeer::Reply(kind == "long name" ? "<html>busy</html>" : ScriptedPeer::AcceptedPage()),
                          ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        StartAndWait();

        QCOMPARE(EndedAs(), UploadCycle::Outcome::Done);
        QCOMPARE(m_view.statuses.last(), Done);
        QVERIFY(m_view.errors.isEmpty());
        QCOMPARE(m_view.passedOver.size(), 1);
        QVERIFY2(m_view.passedOver.first().startsWith(bad + ": ") && m_view.passedOver.first().contains(reason),
                 qPrintable(m_view.passedOver.first()));
        QVERIFY(Sent().contains("fine"));
        QVERIFY(!Left().contains("b.jpg"));
        struct stat info;
        QCOMPARE(lstat(QFile::encodeName(Img(bad)).constData(), &info), 0);
    }

    void nameThatIsNotTextRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("left");

        QTest::newRow("accepted: deleted") << ScriptedPeer::AcceptedPage() << QByteArray();
        QTest::newRow("failed: set aside under its own bytes") << QByteArray("<html>busy</html>")
                                                               << QByteArray("\xFF\xFE" "bad\xE9.jpg_!");
    }

    void nameThatIsNotTextRoundTrips()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, left);

        const QByteArray folder = QFile::encodeName(m_files.Folder()) + '/';
        const int fd = ::open(folder + "\xFF\xFE" "bad\xE9.jpg", O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "raw name", 8), ssize_t(8));
        ::close(fd);
        m_peer->script = {ScriptedPeer::Reply(reply)};
        StartAndWait();

        QCOMPARE(EndedAs(), UploadCycle::Outcome::Done);
        QVERIFY(m_view.passedOver.isEmpty());
        QCOMPARE(Sent(), QByteArrayList{"raw name"});
        QVERIFY(::access(folder + "\xFF\xFE" "bad\xE9.jpg", F_OK) != 0);
        // QDir cannot see such a name, and so neither can QTemporaryDir's clean-up.
        if (!left.isEmpty())
            QCOMPARE(::unlink(folder + left), 0);
    }

    void everyEndOfARunIsLoggedAndSummed_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QByteArray>("record"); // the second picture's; the first is always set aside
        QTest::addColumn<QString>("summary");

        const QString none = QStringLiteral("Загружено 0, отложено 1, пропущено 0");
        QTest::newRow("refused") << "refused" << "b.jpg\t6\trefused"_ba << none;
        QTest::newRow("stopped") << "stopped" << "b.jpg\t6\tstopped"_ba << none;
        QTest::newRow("TCP error") << "error" << "b.jpg\t6\terror\tError #10061"_ba << none;
        QTest::newRow("to the end") << "done" << "b.jpg\t6\taccepted"_ba << "Загружено 1, отложено 1, пропущено 0";
    }

    void everyEndOfARunIsLoggedAndSummed()
    {
        QFETCH(QString, end);
        QFETCH(QByteArray, record);
        QFETCH(QString, summary);
        const QByteArrayList records{"a.jpg\t5\tset aside as a.jpg_!\tbusy", record};

        Write(QStringLiteral("a.jpg"), "first");
        Write(QStringLiteral("b.jpg"), "second");
        UploadLog log(UploadLog::PathInHome(m_home->path()));
        log.Follow(*m_cycle);
        RunSummary sum;
        sum.Follow(*m_cycle);
        const ScriptedPeer::Step second = end == "refused" ? ScriptedPeer::Reply(ScriptedPeer::RefusedPage())
                                        : end == "stopped" ? ScriptedPeer::Hold()
                                                           : ScriptedPeer::Reply(ScriptedPeer::AcceptedPage());
        m_peer->script = {ScriptedPeer::Reply("<p>busy</p>"), second};
        connect(m_peer, &ScriptedPeer::RequestReceived, this, [&](int index) {
            if (index == 0 && end == "error")
                m_peer->close();
            if (index == 1 && end == "stopped")
                m_cycle->Stop();
        });
        StartAndWait();

        QByteArrayList lines = TestFiles::Read(log.Path()).split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.size(), records.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i).mid(lines.at(i).indexOf('\t') + 1), records.at(i));
        QCOMPARE(sum.Text(), summary);
        QCOMPARE(sum.LeftSomething(), true);
    }

private:
    QString Img(const QString &name) const { return QDir(m_files.Folder()).filePath(name); }
    QStringList Left() const { return QDir(m_files.Folder()).entryList(QDir::Files); }
    void Write(const QString &name, const QByteArray &bytes) { QVERIFY(TestFiles::Write(Img(name), bytes)); }
    QByteArray Read(const QString &name) const { return TestFiles::Read(Img(name)); }

    QByteArrayList Sent() const
    {
        QByteArrayList pictures;
        for (const QByteArray &request : std::as_const(m_peer->requests))
            pictures.append(ScriptedPeer::PictureOf(request));
        return pictures;
    }

    void StartAndWait()
    {
        m_cycle->Start();
        QTRY_COMPARE_WITH_TIMEOUT(m_ended->size(), 1, 10000);
    }

    UploadCycle::Outcome EndedAs() const { return m_ended->at(0).at(0).value<UploadCycle::Outcome>(); }

    std::unique_ptr<QTemporaryDir> m_home;
    FileList m_files;
    Recorder m_view;
    ScriptedPeer *m_peer = nullptr;
    UploadCycle *m_cycle = nullptr;
    QSignalSpy *m_ended = nullptr;
};

QTEST_GUILESS_MAIN(TestUploadCycle)
#include "tst_uploadcycle.moc"
