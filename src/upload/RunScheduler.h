#pragma once

#include "pictures/PicturePreparation.h"
#include "settings/SettingKey.h"
#include "upload/PictureOutcome.h"
#include "upload/PictureQueue.h"
#include "upload/ReadAhead.h"
#include "upload/RequestBuilder.h"
#include "upload/RetrySchedule.h"
#include "upload/RunSummary.h"

#include <QAbstractSocket>
#include <QList>
#include <QObject>

class FileList;
class HostAddress;
class UploadCycle;

// A run over every picture of the image folder: hands each picture, in the
// folder's order, to exactly one of its upload cycles, up to one per
// connection allowed, and owns what is the run's own: the queue, the
// counts, the retry window and the run's end. A refused login, a failure
// of the program or Stop ends the run on every connection at once; a
// network that is down pauses all of it. Whatever shows a run, the window
// or a command, follows its signals.
class RunScheduler : public QObject
{
    Q_OBJECT

public:
    static constexpr int MostConnections = SettingDefaults::MostConnections;

    enum class State { Idle, Running, Pausing };
    Q_ENUM(State)
    enum class Outcome { NothingToUpload, Done, Refused, SocketError, Stopped, Unexpected };
    Q_ENUM(Outcome)

    explicit RunScheduler(FileList &files, QObject *parent = nullptr);
    ~RunScheduler() override;

    void SetServer(const HostAddress &address);
    // Taken anew for every picture, so a change applies from the next one.
    void SetCredentials(const QString &login, const QString &password);
    // Seconds without a byte moving before a connection gives up; 0 waits
    // for ever. From the next run on.
    void SetTimeout(int seconds) { m_timeoutSeconds = seconds; }
    // Pictures in flight at once, 1 to MostConnections; from the next run on.
    void SetConnections(int count);
    // The connections of the run going on, or of the next one.
    int Connections() const;
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
    // A picture's turn has come: number of total, in the order pictures start.
    void PictureStarted(const QString &path, qint64 number, qint64 total);
    void StatusChanged(const QString &text);
    // What was done to a picture before it went, in the member's words;
    // PictureOutcome::done keeps it for the log.
    void PicturePrepared(const QString &done);
    // Bytes the service has taken of the requests in flight, of all of them.
    void SendProgress(qint64 sent, qint64 total);
    // What the service said of a picture it did not accept, right after
    // "Failed"; empty when its reply had no words.
    void ServiceSaid(const QString &words);
    void PictureHandled(const PictureOutcome &outcome);
    // Every picture has started: what is left of the run is the replies of
    // those in flight.
    void QueueEmptied();
    // message: what went wrong, for Outcome::Unexpected.
    void RunEnded(RunScheduler::Outcome outcome, const QString &message);

private:
    void Follow(UploadCycle &cycle);
    void Fill();
    bool StartNext(UploadCycle &cycle);
    QString NextFree() const;
    void ReadAheadFor();
    void OnConnected(const UploadCycle &cycle);
    void OnProgress(const UploadCycle &cycle, qint64 taken, qint64 total, int percent);
    void OnHandled(const PictureOutcome &outcome);
    void OnFinished(UploadCycle &cycle);
    void OnNetworkDown(UploadCycle &cycle, QAbstractSocket::SocketError error);
    void OnPauseOver();
    void ShowRunProgress();
    void Show(const QString &text);
    // Ends the run, every connection closed: the picture that ended it
    // reported as kind, every other one in flight as stopped.
    void EndAround(UploadCycle *cause, PictureOutcome::Kind kind, const QString &words, Outcome outcome,
                   const QString &message = QString());
    void EndRun(Outcome outcome, const QString &message = QString());
    void FailUnexpectedly(const QString &message);

    PictureQueue m_queue;
    RequestBuilder m_builder;
    PicturePreparation m_preparation;
    QString m_host;
    quint16 m_port = 0;
    QString m_login;
    QString m_password;
    int m_timeoutSeconds;
    int m_connections = 1;

    State m_state = State::Idle;
    QList<UploadCycle *> m_cycles;
    RetrySchedule m_retry;
    ReadAhead m_ahead;
    // The run's own count, for the status line when several pictures go at once.
    RunSummary m_tally;
    // The status line's text now.
    QString m_shown;
    QString m_pause;
    bool m_emptied = false;
    qint64 m_number = 0;
    qint64 m_total = 0;
};
