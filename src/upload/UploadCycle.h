#pragma once

#include "pictures/PicturePreparation.h"
#include "upload/PictureOutcome.h"
#include "upload/PictureRequest.h"
#include "upload/ReplyJudge.h"
#include "upload/SendMeter.h"
#include "upload/ServiceWords.h"
#include "upload/SilenceTimeout.h"

#include <QAbstractSocket>
#include <QObject>
#include <QPointer>

#include <memory>

class QFile;
class QTcpSocket;
class RequestBuilder;

// Sends one picture at a time, on a connection of its own, driven only by
// the socket's events on the caller's thread, and judges it by its own
// reply: an accepted picture is deleted, a failed one set aside. A reply
// lost after the whole request went out sets the picture aside, since it
// may have arrived. What concerns the run (a refused login, a network that
// is down, a failure of the program) it only tells; the run's scheduler
// decides.
class UploadCycle : public QObject
{
    Q_OBJECT

public:
    // Waiting: the connection failed before the request went out whole; the
    // picture is kept for a new try or for the run's end.
    enum class State { Idle, Connecting, Sending, Receiving, Waiting };
    Q_ENUM(State)

    UploadCycle(RequestBuilder &builder, const PicturePreparation &preparation, QObject *parent = nullptr);
    ~UploadCycle() override;

    void SetServer(const QString &host, quint16 port);
    void SetTimeout(int seconds) { m_timeout.SetSeconds(seconds); }

    // Sends an opened picture; number is its place in the run.
    void Send(PictureRequest picture, qint64 number, const QString &login, const QString &password);
    // Waiting: the same picture on a new connection.
    void TryAgain();
    // A picture whose request has not gone out whole cannot have arrived:
    // its connection is dropped and it waits, unreported.
    void Hold();
    // The run ends around this picture: the connection is dropped, the
    // picture stays and is reported as kind.
    void Abandon(PictureOutcome::Kind kind, const QString &words);

    State CurrentState() const { return m_state; }
    bool IsBusy() const { return m_state != State::Idle; }
    bool RequestIsOut() const { return m_requestOut; }
    const QString &Path() const { return m_path; }
    qint64 Number() const { return m_number; }
    // Of the current request: bytes the service has taken, and all.
    qint64 Taken() const { return m_taken; }
    qint64 RequestSize() const { return m_requestSize; }
    // After Finished: the file of the picture handled, still open.
    std::unique_ptr<QFile> TakeFile() { return m_sending.TakeFile(); }

signals:
    // The picture's verdict texts: OK, Failed, a refused login.
    void StatusChanged(const QString &text);
    // What the connection is doing meanwhile: connecting, the reply coming in.
    void Passing(const QString &text);
    void Connected();
    // What was done to the picture's bytes, in the member's words.
    void PicturePrepared(const QString &shown);
    // percent: of the picture itself, the request's framing left out.
    void Progress(qint64 taken, qint64 total, int percent);
    // Every byte of the request has left the program.
    void RequestOut();
    void ServiceSaid(const QString &words);
    void PictureHandled(const PictureOutcome &outcome);
    // Idle again: the picture is handled, or stays for its turn.
    void Finished();
    void LoginRefused();
    // Before the request went out whole: the picture is Waiting.
    void NetworkDown(QAbstractSocket::SocketError error);
    void Failed(const QString &message);

private:
    void Connect();
    void OnConnected();
    void OnBytesWritten();
    void OnTaken(qint64 taken, qint64 total);
    void OnReadyRead();
    void OnClosedByPeer();
    void OnError(QAbstractSocket::SocketError error);
    void OnTimedOut();
    void OnBroken(QAbstractSocket::SocketError error);
    void JudgeReply(bool whole);
    void Dispose(ReplyJudge::Verdict verdict, const QString &words);
    void GoDown(QAbstractSocket::SocketError error);
    void PassOver(const QString &reason);
    void Report(PictureOutcome::Kind kind, qint64 size, const QString &words, const QString &asideName = QString());
    void Finish();
    void Fail(const QString &message);
    void TakeReplyBytes();
    void DropConnection();

    RequestBuilder &m_builder;
    const PicturePreparation &m_preparation;
    QString m_host;
    quint16 m_port = 0;
    QString m_login;
    QString m_password;

    State m_state = State::Idle;
    // A connection of its own for every picture: the one just closed may
    // still be unwinding its own signal when the next one starts.
    QPointer<QTcpSocket> m_socket;
    SilenceTimeout m_timeout;
    SendMeter m_meter;
    ReplyJudge m_reply;
    ServiceWords m_words;
    qint64 m_requestSize = 0;
    qint64 m_taken = 0;
    // Every byte of the request has left this program: from here on the
    // picture may have arrived.
    bool m_requestOut = false;
    QString m_path;
    qint64 m_number = 0;
    QString m_done;
    PictureRequest m_sending;
};
