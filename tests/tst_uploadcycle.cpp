#include "ScriptedPeer.h"
#include "StandinProcess.h"
#include "TestFiles.h"

#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "pictures/JpegSegments.h"
#include "upload/RunScheduler.h"
#include "upload/UploadLog.h"
#include "settings/HostAddress.h"

#include <QtTest>

#include <exiv2/exiv2.hpp>

#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QRegularExpression Progress(QStringLiteral(R"(^Закачка \d+ из \d+ \((-?\d+)%\)$)"));

// Everything the run tells whoever shows it.
struct Recorder
{
    void Follow(RunScheduler &run)
    {
        QObject::connect(&run, &RunScheduler::StatusChanged, [this](const QString &text) { statuses.append(text); });
        QObject::connect(&run, &RunScheduler::ServiceSaid, [this](const QString &words) { said.append(words); });
        QObject::connect(&run, &RunScheduler::PictureHandled, [this](const PictureOutcome &outcome) {
            const QString name = QFileInfo(outcome.path).fileName();
            if (outcome.kind == PictureOutcome::Kind::PassedOver)
                passedOver.append(name + QStringLiteral(": ") + outcome.words);
            const char *kinds[] = {"accepted", "set aside", "passed over", "refused", "stopped", "error"};
            fates.append(QStringList{name, kinds[int(outcome.kind)], outcome.asideName, outcome.words.left(20)}
                             .join(' ')
                             .trimmed());
        });
        QObject::connect(&run, &RunScheduler::PictureStarted, [this, &run](const QString &path) {
            // Nothing new starts while the run waits for the network.
            QVERIFY(run.CurrentState() == RunScheduler::State::Running);
            started.append(QFileInfo(path).fileName());
        });
    }

    // The send progress comes in as many steps as the socket chooses: left
    // out, once each picture's is known to climb to 100.
    QStringList Milestones() const
    {
        QStringList kept;
        int last = 100;
        for (const QString &s : statuses) {
            const auto m = Progress.match(s);
            if (s.startsWith(QStringLiteral("Закачка")) && !m.hasMatch()) {
                QTest::qVerify(last == 100, "progress", s.toUtf8(), __FILE__, __LINE__);
                last = -1;
            }
            if (!m.hasMatch()) {
                kept.append(s);
                continue;
            }
            const int percent = m.captured(1).toInt();
            QTest::qVerify(percent >= last && percent <= 100, "progress", s.toUtf8(), __FILE__, __LINE__);
            last = percent;
        }
        return kept;
    }

    QStringList statuses;
    QStringList passedOver;
    // "name kind aside-name words", in the order reported.
    QStringList fates;
    QStringList started;
    QStringList said;
};

// A JPEG's head whose EXIF says where it was taken, and its picture data.
QByteArray LocatedJpeg()
{
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Test Camera";
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    exif["Exif.GPSInfo.GPSLatitude"].setValue("55/1 45/1 0/1");
    Exiv2::Blob tiff;
    Exiv2::ExifParser::encode(tiff, Exiv2::littleEndian, exif);
    const int length = 2 + 6 + int(tiff.size());
    return QByteArray("\xFF\xD8\xFF\xE1", 4) + char(length >> 8) + char(length & 0xFF) + QByteArray("Exif\0\0", 6)
           + QByteArray(reinterpret_cast<const char *>(tiff.data()), int(tiff.size()))
           + QByteArray("\xFF\xDA\0\x02picture data\xFF\xD9", 18);
}

QStringList ExifKeys(const QByteArray &jpeg)
{
    const auto segment = JpegSegments(jpeg).Exif();
    Exiv2::ExifData exif;
    if (segment) {
        Exiv2::ExifParser::decode(
            exif, reinterpret_cast<const Exiv2::byte *>(jpeg.constData() + segment->start + JpegSegments::ExifHeader),
            uint32_t(segment->size - JpegSegments::ExifHeader));
    }
    QStringList keys;
    for (const Exiv2::Exifdatum &datum : exif)
        keys.append(QString::fromStdString(datum.key()));
    return keys;
}

const QString Connecting = QStringLiteral("Соединение...");
const QString Done = QStringLiteral("Готово");
const QString NoReply = QStringLiteral("no reply came; the picture may have arrived");
const QRegularExpression Pause(QStringLiteral("^Нет связи \\(Error #\\d+\\), повтор через (\\d+) с$"));
const auto Paused = [](int seconds) { return QStringLiteral("Нет связи (Error #10061), повтор через %1 с").arg(seconds); };

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
        m_run = new RunScheduler(m_files, this);
        m_view.Follow(*m_run);
        m_run->SetServer(HostAddress(QStringLiteral("127.0.0.1"), m_peer->serverPort()));
        m_run->SetCredentials(QStringLiteral("member"), QStringLiteral("secret"));
        m_ended = new QSignalSpy(m_run, &RunScheduler::RunEnded);
        // Each pause is over at once, and time passes by its length only.
        m_now = 0;
        m_run->Retries().SetClock([this] { return m_now; }, 0);
        connect(m_run, &RunScheduler::StatusChanged, this,
                [this](const QString &text) { m_now += Pause.match(text).captured(1).toLongLong() * 1000; });
    }

    void cleanup()
    {
        delete m_ended;
        delete m_run;
        delete m_peer;
    }

    // Each picture is judged by its own reply and goes as it stands at its
    // turn, while another program (or an import) changes the folder: bytes
    // never sent never leave it, and a set-aside picture replaces nothing.
    // A reply lost after the whole request may hide an arrival: set aside,
    // never sent again, lest it be published twice.
    void eachPictureGoesAsItStandsAtItsTurn_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<ScriptedPeer::Step>("first");
        QTest::addColumn<QByteArrayList>("sent");
        QTest::addColumn<QStringList>("left"); // name=content, besides notes.txt
        QTest::addColumn<QString>("said"); // of the first picture; empty: nothing

        const auto ok = ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()), busy = ScriptedPeer::Reply("<p>busy</p>");
        const QByteArrayList all = {"first", "second", ""};
        const QStringList firstAside = {"a.jpg_!=first"};
        QTest::newRow("no marker: set aside, the service's words said") << "" << busy << all << firstAside << "busy";
        QTest::newRow("closed without a byte") << "" << ScriptedPeer::Reply({}) << all << firstAside << NoReply;
        QTest::newRow("silent past the timeout") << "" << ScriptedPeer::Hold() << all << firstAside << NoReply;
        QTest::newRow("the request's head echoed: its secrets masked")
            << "" << ScriptedPeer::Echo() << all << firstAside << "Cookie: *** Content-Length: ";
        QTest::newRow("marker at the end of a long reply")
            << "" << ScriptedPeer::Reply(QByteArray(3 * 1024 * 1024, 'x') + ScriptedPeer::AcceptedPage()) << all
            << QStringList() << "";
        QTest::newRow("set aside into a gap")
            << "earlier a.jpg_!|a (3).jpg_!" << busy << all
            << QStringList{"a (2).jpg_!=first", "a (3).jpg_!=earlier", "a.jpg_!=earlier"} << "busy";
        QTest::newRow("next replaced by another file") << "replace B.JPG" << ok << QByteArrayList{"first", "replacement", ""} << QStringList() << "";
        QTest::newRow("next deleted") << "delete B.JPG" << ok << QByteArrayList{"first", ""} << QStringList() << "";
        QTest::newRow("another added before the next")
            << "add" << ok << QByteArrayList{"first", "added later", "second", ""} << QStringList() << "";
        QTest::newRow("password changed") << "password" << ok << all << QStringList() << "";
        QTest::newRow("accepted one replaced by a rename: the new one goes too")
            << "replace a.jpg" << ok << QByteArrayList{"first", "replacement", "second", ""} << QStringList() << "";
        QTest::newRow("accepted one replaced between the verdict and its delete: the new one goes too")
            << "at OK replace a.jpg" << ok << QByteArrayList{"first", "replacement", "second", ""} << QStringList() << "";
        QTest::newRow("failed one rewritten in place, longer: the new one goes too")
            << "rewrite a.jpg" << busy << QByteArrayList{"first", "SECOND, longer", "second", ""} << QStringList() << "busy";
    }

    void eachPictureGoesAsItStandsAtItsTurn()
    {
        QFETCH(QString, change);
        QFETCH(ScriptedPeer::Step, first);
        QFETCH(QByteArrayList, sent);
        QFETCH(QStringList, left);
        QFETCH(QString, said);

        Write(QStringLiteral("a.jpg"), "first");
        Write(QStringLiteral("B.JPG"), "second");
        Write(QStringLiteral("c.jpg"), ""); // an empty picture goes like any other
        Write(QStringLiteral("notes.txt"), "not a picture");
        if (change.startsWith("earlier")) {
            for (const QString &name : change.mid(8).split('|'))
                Write(name, "earlier");
        }
        m_peer->script = {first, ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        m_run->SetTimeout(1);
        const auto changeFolder = [&] {
            const QString name = change.section(' ', -1);
            if (change.startsWith("rewrite")) {
                QFile file(Img(name));
                QVERIFY(file.open(QIODevice::ReadWrite));
                file.write(name == "a.jpg" ? "SECOND, longer" : "SECOND");
            } else if (change.contains("replace")) {
                Write(QStringLiteral("new.tmp"), "replacement");
                QCOMPARE(std::rename(QFile::encodeName(Img("new.tmp")).constData(),
                                     QFile::encodeName(Img(name)).constData()), 0);
            } else if (change.startsWith("delete")) {
                QVERIFY(QFile::remove(Img(name)));
            } else if (change == "add") {
                Write(QStringLiteral("added.jpg"), "added later");
            } else if (change == "password") {
                m_run->SetCredentials(QStringLiteral("member"), QStringLiteral("changed"));
            }
        };
        // By the time the service has the first request whole, the run is
        // waiting for its reply and may have read B.JPG already; at "OK" the
        // verdict is in and the picture not yet gone.
        connect(m_peer, &ScriptedPeer::RequestReceived, this, [&](int index) {
            if (index == 0 && !change.startsWith("at OK"))
                changeFolder();
        });
        connect(m_run, &RunScheduler::StatusChanged, this, [&](const QString &text) {
            if (text == "OK" && change.startsWith("at OK") && Sent().size() == 1)
                changeFolder();
        });
        StartAndWait();

        QCOMPARE(EndedAs(), RunScheduler::Outcome::Done);
        // The peer takes one request per connection, so a reused one would lose a picture.
        QCOMPARE(Sent(), sent);
        QStringList found;
        for (const QString &name : Left())
            found << name + '=' + Read(name);
        QCOMPARE(found, left + QStringList{"notes.txt=not a picture"});
        // The total stays as counted at the start.
        QCOMPARE(m_view.Milestones().filter("Закачка").last(), QStringLiteral("Закачка %1 из 3").arg(sent.size()));
        QCOMPARE(m_view.Milestones().last(), Done);
        const QString words = m_view.said.join('|');
        QVERIFY2(m_view.said.size() == (said.isEmpty() ? 0 : 1) && words.contains(said), qPrintable(words));
        QVERIFY(!words.contains(QCryptographicHash::hash("secret", QCryptographicHash::Md5).toHex()));
        const QByteArray password = change == "password" ? "changed" : "secret";
        const QByteArray pass = QCryptographicHash::hash(password, QCryptographicHash::Md5).toHex();
        QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.at(1), "Cookie").endsWith("user_pass=" + pass));
    }

    // Nothing the service said ends these runs; every picture stays as it
    // was, and our own close is never judged as a reply.
    void runEndsWithoutAReply_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<int>("retryFor");
        QTest::addColumn<RunScheduler::Outcome>("outcome");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QByteArray>("logged"); // the one record; empty: none
        using O = RunScheduler::Outcome;
        // Pauses double up to a minute; the last is cut to end with the window.
        QStringList waited = {Connecting};
        for (int pause : {2, 4, 8, 16, 32, 60, 8})
            waited << Paused(pause) << Connecting;
        QTest::newRow("connection refused: tried again until the window runs out")
            << "refused" << 130 << O::SocketError << waited + QStringList{"Error #10061"}
            << "\ta.jpg\t5\terror\tError #10061\n"_ba;
        QTest::newRow("connection never established: timed out")
            << "unanswered handshake" << 0 << O::SocketError << QStringList{Connecting, "Error #10060"}
            << "\ta.jpg\t5\terror\tError #10060\n"_ba;
        QTest::newRow("a password too long to hash, before anything is sent")
            << "long password" << 0 << O::Unexpected << QStringList{Connecting, "Закачка 1 из 2"}
            << "\ta.jpg\t5\terror\tOverflow"_ba;
        QTest::newRow("only set-aside pictures: nothing to upload, nothing said")
            << "nothing" << 0 << O::NothingToUpload << QStringList{} << QByteArray();
        const QString stopped = QStringLiteral("Остановлено");
        QTest::newRow("stopped while connecting") << "stop" << 0 << O::Stopped << QStringList{Connecting, stopped}
                                          << "\ta.jpg\t5\tstopped\n"_ba;
        QTest::newRow("stopped while pausing before trying again")
            << "stop refused" << 600 << O::Stopped << QStringList{Connecting, Paused(2), stopped}
            << "\ta.jpg\t5\tstopped\n"_ba;
    }

    void runEndsWithoutAReply()
    {
        QFETCH(QString, trouble);
        QFETCH(int, retryFor);
        QFETCH(RunScheduler::Outcome, outcome);
        QFETCH(QStringList, statuses);
        QFETCH(QByteArray, logged);

        UploadLog log(UploadLog::PathInHome(m_home->path()));
        log.Follow(*m_run);
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
            m_run->SetServer(HostAddress(QStringLiteral("127.0.0.1"), ntohs(address.sin_port)));
        }
        if (trouble.endsWith("refused"))
            m_peer->close();
        if (trouble == "long password")
            m_run->SetCredentials(QStringLiteral("member"), QString(32768, 'p'));
        m_peer->script = {ScriptedPeer::Hold()};
        m_run->SetTimeout(1);
        m_run->Retries().SetWindow(retryFor);
        if (trouble.startsWith("stop")) {
            // A pause as long as it says.
            m_run->Retries().SetClock([] { return 0; }, 1000);
            connect(m_run, &RunScheduler::StatusChanged, this, [&](const QString &text) {
                if (Pause.match(text).hasMatch())
                    m_run->Stop();
            });
        }
        m_run->Start();
        if (trouble == "stop")
            m_run->Stop();
        QTRY_COMPARE_WITH_TIMEOUT(m_ended->size(), 1, 10000);
        QCoreApplication::processEvents();

        QCOMPARE(m_ended->size(), 1);
        QCOMPARE(EndedAs(), outcome);
        QCOMPARE(m_view.Milestones(), statuses);
        QCOMPARE(m_ended->at(0).at(1).toString().isEmpty(), outcome != RunScheduler::Outcome::Unexpected);
        QCOMPARE(Left(), pictures);
        for (const QString &name : pictures)
            QCOMPARE(Read(name), name.toUtf8());
        const QByteArray records = TestFiles::Read(log.Path());
        QVERIFY2(logged.isEmpty() ? records == TestFiles::Missing : records.count('\n') == 1 && records.contains(logged),
                 records.constData());
    }

    // The service goes away after the first picture and comes back on the
    // same port during the pause: the run goes on, each picture sent once.
    void serviceAwayAndBackIsWaitedOut()
    {
        const QString store = m_home->filePath("store");
        const QStringList arguments = {"--login", "member", "--password", "secret", "--store", store};
        StandinProcess standIn;
        QVERIFY(standIn.Start(PICAROON_STANDIN_BIN, arguments));
        const quint16 port = standIn.Port();
        for (const QString name : {"a.jpg", "b.jpg", "c.jpg"})
            Write(name, "\xFF\xD8" + name.toUtf8());
        m_run->SetServer(HostAddress(QStringLiteral("127.0.0.1"), port));
        connect(m_run, &RunScheduler::PictureHandled, this, [&] {
            if (Left().size() == 2)
                standIn.Stop();
        });
        connect(m_run, &RunScheduler::StatusChanged, this, [&](const QString &text) {
            if (text.startsWith("Нет связи"))
                QVERIFY(standIn.Start(PICAROON_STANDIN_BIN, arguments, port));
        });
        StartAndWait();

        QCOMPARE(EndedAs(), RunScheduler::Outcome::Done);
        QCOMPARE(m_view.statuses.filter(Pause).join('|'), Paused(2));
        QVERIFY(Left().isEmpty());
        QCOMPARE(TestFiles::Contents(store),
                 QSet<QByteArray>({"\xFF\xD8" "a.jpg", "\xFF\xD8" "b.jpg", "\xFF\xD8" "c.jpg"}));
    }

    // A picture that cannot be sent is passed over and named; one whose
    // name is not text goes like any other. Neither stops the run.
    void oddPicturesDoNotStopTheRun()
    {
        QCOMPARE(symlink("nowhere", QFile::encodeName(Img("a.jpg")).constData()), 0);
        QFile huge(Img("b.jpg"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(300) * 1024 * 1024));
        Write(QStringLiteral("c.jpg"), "fine");
        const QByteArray raw = QFile::encodeName(m_files.Folder()) + "/\xFF\xFE";
        for (const QByteArray name : {"a", "b"}) {
            const int fd = ::open(raw + name + "\xE9.jpg", O_WRONLY | O_CREAT | O_EXCL, 0644);
            QVERIFY(fd >= 0 && ::write(fd, "raw " + name, 5) == 5 && ::close(fd) == 0);
        }
        const auto ok = ScriptedPeer::Reply(ScriptedPeer::AcceptedPage());
        m_peer->script = {ok, ok, ScriptedPeer::Reply("<html>busy</html>")};
        StartAndWait();

        QCOMPARE(EndedAs(), RunScheduler::Outcome::Done);
        QVERIFY(m_ended->at(0).at(1).toString().isEmpty());
        QCOMPARE(m_view.passedOver.size(), 2);
        QVERIFY2(m_view.passedOver[0].startsWith("a.jpg: ") && m_view.passedOver[0].contains("No such file or directory")
                     && m_view.passedOver[1].startsWith("b.jpg: ") && m_view.passedOver[1].contains("larger than 256 MiB"),
                 qPrintable(m_view.passedOver.join('|')));
        QCOMPARE(Sent(), QByteArrayList({"fine", "raw a", "raw b"}));
        struct stat info;
        QVERIFY(lstat(QFile::encodeName(Img("a.jpg")), &info) == 0 && QFile::exists(Img("b.jpg")));
        QVERIFY(!QFile::exists(Img("c.jpg")) && ::access(raw + "a\xE9.jpg", F_OK) != 0);
        // QDir cannot see such a name, and so neither can QTemporaryDir's clean-up.
        QCOMPARE(::unlink(raw + "b\xE9.jpg_!"), 0);
    }

    // Where a photo was taken stays on the machine unless the member keeps
    // it; the file itself is never changed, and the outcome says what was done.
    void locationStaysHome()
    {
        const QByteArray located = LocatedJpeg();
        QCOMPARE(ExifKeys(located), (QStringList{"Exif.Image.Make", "Exif.Image.GPSTag", "Exif.GPSInfo.GPSLatitudeRef",
                                                 "Exif.GPSInfo.GPSLatitude"}));
        Write(QStringLiteral("a.jpg"), located);
        QList<PictureOutcome> outcomes;
        connect(m_run, &RunScheduler::PictureHandled, this,
                [&outcomes](const PictureOutcome &outcome) { outcomes.append(outcome); });
        QSignalSpy prepared(m_run, &RunScheduler::PicturePrepared);
        m_peer->script = {ScriptedPeer::Reply("<html>busy</html>")};
        StartAndWait();
        QCOMPARE(prepared.value(0).value(0).toString(), QStringLiteral("location removed"));
        QCOMPARE(ExifKeys(Sent().value(0)), QStringList{"Exif.Image.Make"});
        QVERIFY(Sent().value(0).endsWith("picture data\xFF\xD9"));
        QCOMPARE(Read(QStringLiteral("a.jpg_!")), located);
        QCOMPARE(outcomes.value(0).done, QStringLiteral("location removed"));

        m_run->SetPreparation(PicturePreparation::Options{true});
        Write(QStringLiteral("b.jpg"), located);
        m_ended->clear();
        StartAndWait();
        QCOMPARE(Sent().value(1), located);
        QVERIFY(outcomes.value(1).done.isEmpty());
    }

    // Several at once: each picture starts in the folder's order on a
    // connection of its own, goes once, and meets the fate it would meet
    // one at a time, whatever order the replies come in; never more
    // connections than allowed.
    void severalAtOnceKeepEveryRule_data()
    {
        QTest::addColumn<int>("connections");
        QTest::newRow("one at a time") << 1;
        QTest::newRow("three at once") << 3;
        QTest::newRow("eight at once, more than there are pictures") << 8;
    }

    void severalAtOnceKeepEveryRule()
    {
        QFETCH(int, connections);
        const QStringList sendable = {"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p5.jpg", "p6.jpg"};
        for (const QString &name : sendable)
            Write(name, name.toUtf8());
        QCOMPARE(symlink("nowhere", QFile::encodeName(Img("p4.jpg")).constData()), 0);
        Write("p1.jpg_!", "earlier");
        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        m_peer->stepFor = {{"p1.jpg", ScriptedPeer::Reply("<html>busy</html>")},
                           {"p3.jpg", ScriptedPeer::Reset()},
                           {"p5.jpg", ScriptedPeer::Reply({})}};
        m_peer->holdReplies = true;
        // Replies wait until every connection the run may use holds a
        // picture; the last to come is answered first.
        qsizetype answered = 0;
        connect(m_peer, &ScriptedPeer::RequestReceived, this, [&] {
            while (m_peer->Held() > 0 && m_peer->Held() == std::min<qsizetype>(connections, 6 - answered)) {
                ++answered;
                m_peer->AnswerHeld(m_peer->Held() - 1);
            }
        });
        // Said once the last picture has started, not before.
        qsizetype startedWhenEmptied = -1;
        connect(m_run, &RunScheduler::QueueEmptied, this, [&] { startedWhenEmptied = m_view.started.size(); });
        m_run->SetConnections(connections);
        StartAndWait();

        QCOMPARE(EndedAs(), RunScheduler::Outcome::Done);
        QCOMPARE(startedWhenEmptied, 6);
        QCOMPARE(m_peer->MostUnanswered(), std::min(connections, 6));
        QCOMPARE(m_view.started, sendable);
        QByteArrayList sent = Sent();
        std::sort(sent.begin(), sent.end());
        QCOMPARE(sent, QByteArrayList({"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p5.jpg", "p6.jpg"}));
        QStringList fates = m_view.fates;
        fates.sort();
        QCOMPARE(
            fates,
            (QStringList{"p0.jpg accepted", "p1.jpg set aside p1 (2).jpg_! busy", "p2.jpg accepted",
                         "p3.jpg set aside p3.jpg_! " + NoReply.left(20), "p4.jpg passed over  No such file or dire",
                         "p5.jpg set aside p5.jpg_! " + NoReply.left(20), "p6.jpg accepted"}));
        QCOMPARE(Left(), (QStringList{"p1 (2).jpg_!", "p1.jpg_!", "p3.jpg_!", "p5.jpg_!"}));
        QVERIFY(QFileInfo(Img("p4.jpg")).isSymLink());
        QCOMPARE(Read("p1.jpg_!"), "earlier");
        QCOMPARE(Read("p1 (2).jpg_!"), "p1.jpg");
    }

    // A refused login or Stop ends the run on every connection at once: the
    // pictures in flight stay, and nothing more is sent.
    void oneEndEndsEveryConnection_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<RunScheduler::Outcome>("outcome");
        QTest::addColumn<QStringList>("fates");
        QTest::newRow("stopped with three in flight")
            << "stop" << RunScheduler::Outcome::Stopped
            << QStringList{"p0.jpg stopped", "p1.jpg stopped", "p2.jpg stopped"};
        QTest::newRow("a refused login stops the others")
            << "refuse" << RunScheduler::Outcome::Refused
            << QStringList{"p0.jpg stopped", "p1.jpg refused", "p2.jpg stopped"};
    }

    void oneEndEndsEveryConnection()
    {
        QFETCH(QString, end);
        QFETCH(RunScheduler::Outcome, outcome);
        QFETCH(QStringList, fates);
        const QStringList names = {"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"};
        for (const QString &name : names)
            Write(name, name.toUtf8());
        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        m_peer->stepFor = {{"p1.jpg", ScriptedPeer::Reply(ScriptedPeer::RefusedPage())}};
        m_peer->holdReplies = true;
        connect(m_peer, &ScriptedPeer::RequestReceived, this, [&] {
            if (m_peer->Held() < 3)
                return;
            if (end == "stop")
                m_run->Stop();
            else
                m_peer->AnswerHeld(Sent().indexOf("p1.jpg"));
        });
        m_run->SetConnections(3);
        StartAndWait();

        QCOMPARE(EndedAs(), outcome);
        m_view.fates.sort();
        QCOMPARE(m_view.fates, fates);
        QTRY_COMPARE(m_peer->Unanswered(), 0);
        QCOMPARE(m_peer->requests.size(), 3);
        QCOMPARE(Left(), names);
        for (const QString &name : names)
            QCOMPARE(Read(name), name.toUtf8());
    }

    // The network goes while three are in flight: the run waits as a whole,
    // a picture whose request had not gone out waits with it, the replies
    // on their way still count, and each picture goes once.
    void aNetworkDownPausesEveryConnection()
    {
        const QStringList names = {"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"};
        for (const QString &name : names)
            Write(name, name.toUtf8());
        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        m_peer->holdReplies = true;
        const quint16 port = m_peer->serverPort();
        connect(m_peer, &ScriptedPeer::RequestReceived, this, [&] {
            if (m_peer->Held() < 3 || !m_peer->isListening())
                return;
            // Two connections free at once both find no service.
            m_peer->close();
            m_peer->AnswerHeld(2);
            m_peer->AnswerHeld(1);
        });
        connect(m_run, &RunScheduler::StatusChanged, this, [&](const QString &text) {
            if (!Pause.match(text).hasMatch() || m_peer->isListening())
                return;
            QCOMPARE(m_run->CurrentState(), RunScheduler::State::Pausing);
            m_peer->holdReplies = false;
            QVERIFY(m_peer->Listen(port));
            m_peer->AnswerHeld(0);
        });
        // A pause long enough for the reply on its way to come in it.
        m_run->Retries().SetClock([this] { return m_now; }, 20);
        m_run->SetConnections(3);
        StartAndWait();

        QCOMPARE(EndedAs(), RunScheduler::Outcome::Done);
        QStringList pauses = m_view.statuses.filter(Pause);
        pauses.removeDuplicates();
        QCOMPARE(pauses.size(), 1);
        QCOMPARE(m_view.started, names);
        QVERIFY(Left().isEmpty());
        QByteArrayList sent = Sent();
        std::sort(sent.begin(), sent.end());
        QCOMPARE(sent, QByteArrayList({"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"}));
        QVERIFY(m_peer->MostUnanswered() <= 3);
    }

private:
    QString Img(const QString &name) const { return QDir(m_files.Folder()).filePath(name); }
    // Hidden ones too: nothing of ours may be left behind.
    QStringList Left() const { return QDir(m_files.Folder()).entryList(QDir::Files | QDir::Hidden); }
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
        m_run->Start();
        QTRY_COMPARE_WITH_TIMEOUT(m_ended->size(), 1, 10000);
    }

    RunScheduler::Outcome EndedAs() const { return m_ended->at(0).at(0).value<RunScheduler::Outcome>(); }

    std::unique_ptr<QTemporaryDir> m_home;
    FileList m_files;
    Recorder m_view;
    ScriptedPeer *m_peer = nullptr;
    RunScheduler *m_run = nullptr;
    QSignalSpy *m_ended = nullptr;
    qint64 m_now = 0;
};

QTEST_GUILESS_MAIN(TestUploadCycle)
#include "tst_uploadcycle.moc"
