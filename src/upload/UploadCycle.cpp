#include "upload/UploadCycle.h"

#include "settings/HostAddress.h"
#include "upload/PictureDisposal.h"
#include "upload/SocketErrorNumber.h"
#include "upload/StatusText.h"

#include <QTcpSocket>

#include <algorithm>
#include <cmath>

namespace {

QString LostReply(bool broken)
{
    return broken ? UploadCycle::tr("the reply broke off; the picture may have arrived, so it is set aside, "
                                    "not sent again")
                  : UploadCycle::tr("no reply came; the picture may have arrived, so it is set aside, not sent again");
}

}

UploadCycle::UploadCycle(FileList &files, QObject *parent)
    : QObject(parent)
    , m_queue(files)
    , m_builder(QString())
{
    SetServer(HostAddress());
    connect(&m_timeout, &SilenceTimeout::TimedOut, this, &UploadCycle::OnTimedOut);
    connect(&m_meter, &SendMeter::Taken, this, &UploadCycle::OnTaken);
    connect(&m_retry, &RetrySchedule::PauseOver, this, [this] {
        if (m_state == State::Pausing)
            Connect();
    });
}

UploadCycle::~UploadCycle()
{
    // Closing the window mid-run drops the connection and writes nothing;
    // the current picture stays in the folder.
    if (m_WS)
        m_WS->disconnect(this);
}

void UploadCycle::SetServer(const HostAddress &address)
{
    m_host = address.Host();
    m_port = address.Port();
    m_builder.SetHostHeader(address.HostHeader());
}

void UploadCycle::SetCredentials(const QString &login, const QString &password)
{
    m_login = login;
    m_password = password;
}

void UploadCycle::Start()
{
    if (m_state != State::Idle)
        return;
    QString error;
    if (!m_queue.Begin(&error)) {
        FailUnexpectedly(error);
        return;
    }
    const QStringList paths = m_queue.Paths();
    if (paths.isEmpty()) {
        emit RunEnded(Outcome::NothingToUpload, QString());
        return;
    }
    m_FileNo = 0;
    m_FileTotal = paths.size();
    emit RunStarted(paths);
    NextFile();
}

void UploadCycle::Stop()
{
    if (m_state == State::Idle)
        return;
    // Our own close is never judged as a reply: the connection is dropped
    // before the socket can report it.
    DropConnection();
    emit StatusChanged(StatusText::Stopped());
    ReportCurrent(PictureOutcome::Kind::Stopped, QString());
    EndRun(Outcome::Stopped);
}

void UploadCycle::NextFile()
{
    QString error;
    if (!m_queue.Refresh(&error)) {
        FailUnexpectedly(error);
        return;
    }
    ++m_FileNo;
    m_currentDone.clear();
    if (!OpenNextPicture()) {
        emit StatusChanged(StatusText::Done());
        EndRun(Outcome::Done);
        return;
    }
    emit PictureStarted(m_CurrentFile, m_FileNo, m_FileTotal);
    Connect();
}

void UploadCycle::Connect()
{
    m_ReplyText.Clear();
    m_words.Clear();
    m_requestOut = false;
    m_state = State::Connecting;
    emit StatusChanged(StatusText::Connecting());

    auto *socket = new QTcpSocket(this);
    m_WS = socket;
    connect(socket, &QTcpSocket::connected, this, &UploadCycle::OnConnected);
    connect(socket, &QTcpSocket::bytesWritten, this, &UploadCycle::OnBytesWritten);
    connect(socket, &QTcpSocket::readyRead, this, &UploadCycle::OnReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &UploadCycle::OnClosedByPeer);
    connect(socket, &QTcpSocket::errorOccurred, this, &UploadCycle::OnError);
    m_timeout.Watch(socket);
    socket->connectToHost(m_host, m_port);
}

bool UploadCycle::OpenNextPicture()
{
    // The picture handled last has left the folder or the pattern by now.
    for (QString path = m_queue.Next(); !path.isEmpty(); path = m_queue.Next()) {
        m_CurrentFile = path;
        m_inFlight = true;
        QString why;
        if (m_ahead.Take(path, &m_sending) || m_sending.Open(path, &why))
            return true;
        PassOver(path, why);
    }
    return false;
}

void UploadCycle::PassOver(const QString &path, const QString &reason)
{
    m_queue.PassOver(path);
    const qint64 size = path == m_sending.Path() ? m_sending.PictureSize() : -1;
    Report(PictureOutcome::Kind::PassedOver, path, size, reason);
}

void UploadCycle::Report(PictureOutcome::Kind kind, const QString &path, qint64 size, const QString &words,
                         const QString &asideName)
{
    if (path == m_CurrentFile)
        m_inFlight = false;
    const QString done = path == m_CurrentFile ? m_currentDone : QString();
    emit PictureHandled({kind, path, size, asideName, words, done});
}

void UploadCycle::ReportCurrent(PictureOutcome::Kind kind, const QString &words)
{
    if (m_inFlight)
        Report(kind, m_CurrentFile, m_sending.IsOpen() ? m_sending.PictureSize() : -1, words);
}

void UploadCycle::OnConnected()
{
    emit StatusChanged(StatusText::Counter(m_FileNo, m_FileTotal));
    // Sent as the picture stands now: opened anew if its name leads to
    // other bytes since it was opened or read ahead.
    if (!m_sending.Fits(m_CurrentFile, m_login, m_password, m_preparation.Chosen())) {
        QString error;
        if (!m_sending.StillOnDisk() && !m_sending.Open(m_CurrentFile, &error)) {
            PassOverCurrent(error);
            return;
        }
        switch (m_sending.Build(m_builder, m_preparation, m_login, m_password, &error)) {
        case PictureRequest::Result::Built:
            break;
        case PictureRequest::Result::PictureUnusable:
            PassOverCurrent(error);
            return;
        case PictureRequest::Result::Unsendable:
            FailUnexpectedly(error);
            return;
        }
    }
    m_words.SetCredentials(m_login, m_password);
    m_currentDone = m_sending.Done();
    emit PicturePrepared(m_sending.Shown());
    m_state = State::Sending;
    // The request goes out in one piece and nothing follows it: holding its
    // last segment back for an acknowledgement only adds a delay.
    m_WS->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QByteArray request = m_sending.TakeRequest();
    m_requestSize = request.size();
    m_WS->write(request);
    m_meter.Watch(m_WS, m_requestSize);
}

void UploadCycle::PassOverCurrent(const QString &reason)
{
    DropConnection();
    PassOver(m_CurrentFile, reason);
    m_sending.Clear();
    NextFile();
}

void UploadCycle::OnBytesWritten()
{
    if (m_state != State::Sending)
        return;
    // The meter reads on its own timer: a reading per chunk written would
    // cost a status line each and say nothing more.
    if (m_WS->bytesToWrite() > 0)
        return;
    m_requestOut = true;
    m_retry.Reset();
    m_ahead.UseTheWait(m_builder, m_preparation, m_queue.Next(m_CurrentFile), m_login, m_password);
}

// Counted by what the service has taken, not by what was handed to the
// system, which holds megabytes of a picture the service may never get.
void UploadCycle::OnTaken(qint64 taken, qint64 total)
{
    if (m_state != State::Sending)
        return;
    const qint64 size = m_sending.PictureSize();
    const qint64 waiting = total - taken;
    // The bytes waiting include the headers and framing, so a small picture
    // would start below zero; an empty one has no ratio at all.
    int percent = waiting > 0 ? 0 : 100;
    if (size > 0)
        percent = std::clamp(100 - int(std::min(std::floor(double(waiting) / double(size) * 100.0), 1000.0)), 0, 100);
    emit StatusChanged(StatusText::CounterWithPercent(m_FileNo, m_FileTotal, percent));
    emit SendProgress(taken, total);
}

void UploadCycle::OnReadyRead()
{
    if (m_state != State::Sending && m_state != State::Receiving)
        return;
    // A reply means the service read what it wanted: say how far it got.
    m_meter.Measure();
    m_state = State::Receiving;
    TakeReplyBytes();
}

void UploadCycle::TakeReplyBytes()
{
    const QByteArray bytes = m_WS->readAll();
    if (bytes.isEmpty())
        return;
    m_ReplyText.Append(bytes);
    m_words.Append(bytes);
    emit StatusChanged(StatusText::LoadData(m_ReplyText.Size()));
}

void UploadCycle::OnClosedByPeer()
{
    if (m_state != State::Sending && m_state != State::Receiving)
        return;
    m_meter.Measure();
    TakeReplyBytes();
    // Closed before the request went out whole and without a word: the
    // picture cannot have arrived, so it is safe to send again.
    if (m_ReplyText.Size() == 0 && !m_requestOut)
        RetryOrEnd(QAbstractSocket::RemoteHostClosedError);
    else
        JudgeReply(true);
}

void UploadCycle::OnError(QAbstractSocket::SocketError error)
{
    if (m_state == State::Idle || m_state == State::Pausing)
        return;
    // The peer's ordinary close after its reply arrives as this "error"
    // first; it is the end of the reply, not a failure of the run.
    if (error == QAbstractSocket::RemoteHostClosedError && m_state != State::Connecting)
        OnClosedByPeer();
    else
        OnBroken(error);
}

void UploadCycle::OnTimedOut()
{
    if (m_state != State::Idle && m_state != State::Pausing)
        OnBroken(QAbstractSocket::SocketTimeoutError);
}

void UploadCycle::OnBroken(QAbstractSocket::SocketError error)
{
    if (m_state != State::Connecting)
        TakeReplyBytes();
    if (m_ReplyText.Size() > 0 || m_requestOut)
        JudgeReply(false);
    else
        RetryOrEnd(error);
}

void UploadCycle::JudgeReply(bool whole)
{
    DropConnection();
    const ReplyJudge::Verdict verdict = m_ReplyText.Judge();
    QString words;
    switch (verdict) {
    case ReplyJudge::Verdict::Refused:
        emit StatusChanged(StatusText::Refused());
        ReportCurrent(PictureOutcome::Kind::Refused, QString());
        EndRun(Outcome::Refused);
        return;
    case ReplyJudge::Verdict::Accepted:
        emit StatusChanged(StatusText::Accepted());
        break;
    case ReplyJudge::Verdict::Failed:
        words = whole && m_ReplyText.Size() > 0 ? m_words.Text() : LostReply(m_ReplyText.Size() > 0);
        emit StatusChanged(StatusText::Failed());
        emit ServiceSaid(words);
        break;
    }
    Dispose(verdict, words);
}

void UploadCycle::Dispose(ReplyJudge::Verdict verdict, const QString &words)
{
    const PictureDisposal disposal = PictureDisposal::Of(verdict, m_sending);
    const qint64 size = m_sending.PictureSize();
    switch (disposal.kind) {
    case PictureDisposal::Kind::Unexpected:
        FailUnexpectedly(disposal.error);
        return;
    case PictureDisposal::Kind::PassedOver:
        PassOver(m_CurrentFile, disposal.error);
        break;
    case PictureDisposal::Kind::SetAside:
        Report(PictureOutcome::Kind::SetAside, m_CurrentFile, size, words, disposal.asideName);
        break;
    case PictureDisposal::Kind::Deleted:
    case PictureDisposal::Kind::Stays:
        // A picture replaced since it was read stays for its turn; the one
        // that was sent and accepted still counts as uploaded.
        if (verdict == ReplyJudge::Verdict::Accepted)
            Report(PictureOutcome::Kind::Accepted, m_CurrentFile, size, QString());
        break;
    }
    m_ahead.Keep(m_sending.TakeFile());
    NextFile();
}

void UploadCycle::RetryOrEnd(QAbstractSocket::SocketError error)
{
    DropConnection();
    const int pause = RetrySchedule::IsPassing(error) ? m_retry.PauseAfterFailure() : -1;
    if (pause < 0) {
        EndOnSocketError(error);
        return;
    }
    m_state = State::Pausing;
    emit StatusChanged(StatusText::NoConnection(SocketErrorNumber(error), pause));
}

void UploadCycle::EndOnSocketError(QAbstractSocket::SocketError error)
{
    // Dropped so that a later Start connects afresh.
    DropConnection();
    const QString status = StatusText::SocketError(SocketErrorNumber(error));
    emit StatusChanged(status);
    ReportCurrent(PictureOutcome::Kind::Error, status);
    EndRun(Outcome::SocketError);
}

void UploadCycle::DropConnection()
{
    m_timeout.Release();
    m_meter.Stop();
    if (!m_WS)
        return;
    QTcpSocket *socket = m_WS;
    m_WS = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void UploadCycle::EndRun(Outcome outcome, const QString &message)
{
    m_state = State::Idle;
    m_retry.Reset();
    m_inFlight = false;
    m_sending.Clear();
    m_ahead.Clear();
    emit RunEnded(outcome, message);
}

void UploadCycle::FailUnexpectedly(const QString &message)
{
    DropConnection();
    ReportCurrent(PictureOutcome::Kind::Error, message);
    EndRun(Outcome::Unexpected, message);
}
