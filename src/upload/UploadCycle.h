#pragma once

#include "pictures/PicturePreparation.h"
#include "upload/PictureOutcome.h"
#include "upload/PictureQueue.h"
#include "upload/PictureRequest.h"
#include "upload/ReadAhead.h"
#include "upload/ReplyJudge.h"
#include "upload/RequestBuilder.h"
#include "upload/RetrySchedule.h"
#include "upload/ServiceWords.h"
#include "upload/SendMeter.h"
#include "upload/SilenceTimeout.h"

#include <QAbstractSocket>
#include <QObject>
#include <QPointer>

class FileList;
class HostAddress;
class QTcpSocket;

// Uploads every picture of the image folder, one connection per picture,
// driven only by the socket's events on the caller's thread. Each picture
// is judged by its own reply: accepted ones are deleted, failed ones set
// aside, and a refused login, a socket error or Stop end the run. A network
// that is down before a request went out whole is waited out by its retry
// schedule; a reply lost after it went out sets the picture aside, since
// it may have arrived. Whatever shows a run, the window or a command,
// follows its signals.
class UploadCycle : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Connecting, Sending, Receiving, Pausing };
    Q_ENUM(State)
    enum class Outcome { NothingToUpload, Done, Refused, SocketError, Stopped, Unexpected };
    Q_ENUM(Outcome)

    UploadCycle(FileList &files, QObject *parent = nullptr);
    ~UploadCycle() override;

    void SetServer(const HostAddress &address);
    // Taken anew for every picture, so a change applies from the next one.
    void SetCredentials(const QString &login, const QString &password);
    // Seconds without a byte moving before the run ends as a TCP error;
    // 0 waits for ever.
    void SetTimeout(int seconds) { m_timeout.SetSeconds(seconds); }
    // From the next picture read on.
    void SetPreparation(const PicturePreparation::Options &options) { m_preparation = PicturePreparation(options); }
    // Its window and, for a test, its clock.
    RetrySchedule &Retries() { return m_retry; }
    State CurrentState() const { return m_state; }

public slots:
    void Start();
    void Stop();

signals:
    // With the paths listed at Start, before the first picture is taken.
    void RunStarted(const QStringList &paths);
    // A picture's turn has come: number of total, counted as the status
    // line counts it.
    void PictureStarted(const QString &path, qint64 number, qint64 total);
    void StatusChanged(const QString &text);
    // What was done to the picture being sent, in the member's words,
    // before it went; PictureOutcome::done keeps it for the log.
    void PicturePrepared(const QString &done);
    // Bytes of the current picture's request handed on so far, of all.
    void SendProgress(qint64 sent, qint64 total);
    // What the service said of a picture it did not accept, right after
    // "Failed"; empty when its reply had no words.
    void ServiceSaid(const QString &words);
    void PictureHandled(const PictureOutcome &outcome);
    // message: what went wrong, for Outcome::Unexpected.
    void RunEnded(UploadCycle::Outcome outcome, const QString &message);

private:
    void NextFile();
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
    void RetryOrEnd(QAbstractSocket::SocketError error);

    bool OpenNextPicture();
    void PassOver(const QString &path, const QString &reason);
    void PassOverCurrent(const QString &reason);
    void Dispose(ReplyJudge::Verdict verdict, const QString &words);
    void Report(PictureOutcome::Kind kind, const QString &path, qint64 size, const QString &words,
                const QString &asideName = QString());
    // The picture in flight when the run ends other than by its own reply.
    void ReportCurrent(PictureOutcome::Kind kind, const QString &words);
    void TakeReplyBytes();
    void EndOnSocketError(QAbstractSocket::SocketError error);
    void DropConnection();
    void EndRun(Outcome outcome, const QString &message = QString());
    void FailUnexpectedly(const QString &message);

    PictureQueue m_queue;
    RequestBuilder m_builder;
    PicturePreparation m_preparation;
    QString m_currentDone;
    QString m_host;
    quint16 m_port = 0;
    QString m_login;
    QString m_password;

    State m_state = State::Idle;
    // A connection of its own for every picture: the one just closed may
    // still be unwinding its own signal when the next one starts.
    QPointer<QTcpSocket> m_WS;
    SilenceTimeout m_timeout;
    SendMeter m_meter;
    RetrySchedule m_retry;
    ReplyJudge m_ReplyText;
    ServiceWords m_words;
    qint64 m_requestSize = 0;
    // Every byte of the request has left this program: from here on the
    // picture may have arrived.
    bool m_requestOut = false;
    // The current picture is taken and nothing has been reported of it yet.
    bool m_inFlight = false;
    QString m_CurrentFile;
    PictureRequest m_sending;
    ReadAhead m_ahead;
    qint64 m_FileNo = 0;
    qint64 m_FileTotal = 0;
};
