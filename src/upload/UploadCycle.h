#pragma once

#include "upload/PictureOutcome.h"
#include "upload/PictureRequest.h"
#include "upload/ReplyJudge.h"
#include "upload/RequestBuilder.h"
#include "upload/ServiceWords.h"
#include "upload/SilenceTimeout.h"

#include <QAbstractSocket>
#include <QObject>
#include <QFile>
#include <QPointer>
#include <QSet>

#include <memory>

class FileList;
class QTcpSocket;
class UploadView;

// Uploads every picture of the image folder, one connection per picture,
// driven only by the socket's events on the caller's thread. Each picture
// is judged by its own reply: accepted ones are deleted, failed ones set
// aside, and a refused login, a socket error or Stop end the run.
class UploadCycle : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Connecting, Sending, Receiving };
    Q_ENUM(State)
    enum class Outcome { NothingToUpload, Done, Refused, SocketError, Stopped, Unexpected };
    Q_ENUM(Outcome)

    UploadCycle(UploadView &view, FileList &files, QObject *parent = nullptr);
    ~UploadCycle() override;

    // port: written after the host in the request's Host header unless 80.
    void SetServer(const QString &host, quint16 port);
    // Seconds without a byte moving before the run ends as a TCP error;
    // 0 waits for ever.
    void SetTimeout(int seconds) { m_timeout.SetSeconds(seconds); }
    State CurrentState() const { return m_state; }
    qint64 FileNo() const { return m_FileNo; }
    qint64 FileTotal() const { return m_FileTotal; }

public slots:
    void Start();
    void Stop();

signals:
    // With the paths listed at Start, before the first picture is taken.
    void RunStarted(const QStringList &paths);
    // Bytes of the current picture's request handed on so far, of all.
    void SendProgress(qint64 sent, qint64 total);
    void PictureHandled(const PictureOutcome &outcome);
    void RunEnded(UploadCycle::Outcome outcome);

private:
    void NextFile();
    void OnConnected();
    void OnBytesWritten();
    void UseTheWait();
    void OnReadyRead();
    void OnClosedByPeer();
    void OnError(QAbstractSocket::SocketError error);
    void OnTimedOut();

    bool OpenNextPicture();
    void PassOver(const QString &path, const QString &reason);
    void PassOverCurrent(const QString &reason);
    void Report(PictureOutcome::Kind kind, const QString &path, qint64 size, const QString &words,
                const QString &asideName = QString());
    // The picture in flight when the run ends other than by its own reply.
    void ReportCurrent(PictureOutcome::Kind kind, const QString &words);
    void TakeReplyBytes();
    QString CounterText() const;
    void DropConnection();
    void EndRun(Outcome outcome, const QString &message = QString());
    void FailUnexpectedly(const QString &message);

    UploadView &m_view;
    FileList &m_Files;
    RequestBuilder m_builder;
    QString m_host;
    quint16 m_port = 80;

    State m_state = State::Idle;
    // A connection of its own for every picture: the one just closed may
    // still be unwinding its own signal when the next one starts.
    QPointer<QTcpSocket> m_WS;
    SilenceTimeout m_timeout;
    // Pictures of this run that could not be sent: they stay in the folder,
    // so the first entry is no longer always the next one to take.
    QSet<QString> m_passedOver;
    ReplyJudge m_ReplyText;
    ServiceWords m_words;
    qint64 m_requestSize = 0;
    // The current picture is taken and nothing has been reported of it yet.
    bool m_inFlight = false;
    QString m_CurrentFile;
    PictureRequest m_Sending;
    PictureRequest m_Ahead;
    // The picture deleted or set aside last, still open: see UseTheWait().
    std::unique_ptr<QFile> m_Handled;
    qint64 m_FileNo = 0;
    qint64 m_FileTotal = 0;
};
