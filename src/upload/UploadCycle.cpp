#include "upload/UploadCycle.h"

#include "upload/PictureDisposal.h"
#include "upload/RequestBuilder.h"
#include "upload/StatusText.h"

#include <QFile>
#include <QTcpSocket>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

QString LostReply(bool broken)
{
    return broken ? UploadCycle::tr("the reply broke off; the picture may have arrived, so it is set aside, "
                                    "not sent again")
                  : UploadCycle::tr("no reply came; the picture may have arrived, so it is set aside, not sent again");
}

}

UploadCycle::UploadCycle(RequestBuilder &builder, const PicturePreparation &preparation, QObject *parent)
    : QObject(parent)
    , m_builder(builder)
    , m_preparation(preparation)
{
    connect(&m_timeout, &SilenceTimeout::TimedOut, this, &UploadCycle::OnTimedOut);
    connect(&m_meter, &SendMeter::Taken, this, &UploadCycle::OnTaken);
}

UploadCycle::~UploadCycle()
{
    // Closing the window mid-run drops the connection and writes nothing;
    // the picture stays in the folder.
    if (m_socket)
        m_socket->disconnect(this);
}

void UploadCycle::SetServer(const QString &host, quint16 port)
{
    m_host = host;
    m_port = port;
}

void UploadCycle::Send(PictureRequest picture, qint64 number, const QString &login, const QString &password)
{
    m_sending = std::move(picture);
    m_path = m_sending.Path();
    m_number = number;
    m_login = login;
    m_password = password;
    m_done.clear();
    Connect();
}

void UploadCycle::TryAgain()
{
    if (m_state == State::Waiting)
        Connect();
}

void UploadCycle::Hold()
{
    if (m_state == State::Idle || m_requestOut)
        return;
    DropConnection();
    m_state = State::Waiting;
}

void UploadCycle::Abandon(PictureOutcome::Kind kind, const QString &words)
{
    if (m_state == State::Idle)
        return;
    // Our own close is never judged as a reply: the connection is dropped
    // before the socket can report it.
    DropConnection();
    m_state = State::Idle;
    Report(kind, m_sending.IsOpen() ? m_sending.PictureSize() : -1, words);
    m_sending.Clear();
}

void UploadCycle::Connect()
{
    m_reply.Clear();
    m_words.Clear();
    m_requestOut = false;
    m_taken = m_requestSize = 0;
    m_state = State::Connecting;
    emit Passing(StatusText::Connecting());

    auto *socket = new QTcpSocket(this);
    m_socket = socket;
    connect(socket, &QTcpSocket::connected, this, &UploadCycle::OnConnected);
    connect(socket, &QTcpSocket::bytesWritten, this, &UploadCycle::OnBytesWritten);
    connect(socket, &QTcpSocket::readyRead, this, &UploadCycle::OnReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &UploadCycle::OnClosedByPeer);
    connect(socket, &QTcpSocket::errorOccurred, this, &UploadCycle::OnError);
    m_timeout.Watch(socket);
    socket->connectToHost(m_host, m_port);
}

void UploadCycle::OnConnected()
{
    emit Connected();
    // Sent as the picture stands now: opened anew if its name leads to
    // other bytes since it was opened or read ahead.
    if (!m_sending.Fits(m_path, m_login, m_password, m_preparation.Chosen())) {
        QString error;
        if (!m_sending.StillOnDisk() && !m_sending.Open(m_path, &error)) {
            PassOver(error);
            return;
        }
        switch (m_sending.Build(m_builder, m_preparation, m_login, m_password, &error)) {
        case PictureRequest::Result::Built:
            break;
        case PictureRequest::Result::PictureUnusable:
            PassOver(error);
            return;
        case PictureRequest::Result::Unsendable:
            Fail(error);
            return;
        }
    }
    m_words.SetCredentials(m_login, m_password);
    m_done = m_sending.Done();
    emit PicturePrepared(m_sending.Shown());
    m_state = State::Sending;
    // The request goes out in one piece and nothing follows it: holding its
    // last segment back for an acknowledgement only adds a delay.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QByteArray request = m_sending.TakeRequest();
    m_requestSize = request.size();
    m_socket->write(request);
    m_meter.Watch(m_socket, m_requestSize);
}

void UploadCycle::OnBytesWritten()
{
    if (m_state != State::Sending)
        return;
    // The meter reads on its own timer: a reading per chunk written would
    // cost a status line each and say nothing more.
    if (m_socket->bytesToWrite() > 0 || m_requestOut)
        return;
    m_requestOut = true;
    emit RequestOut();
}

// Counted by what the service has taken, not by what was handed to the
// system, which holds megabytes of a picture the service may never get.
void UploadCycle::OnTaken(qint64 taken, qint64 total)
{
    if (m_state != State::Sending)
        return;
    m_taken = taken;
    const qint64 size = m_sending.PictureSize();
    const qint64 waiting = total - taken;
    // The bytes waiting include the headers and framing, so a small picture
    // would start below zero; an empty one has no ratio at all.
    int percent = waiting > 0 ? 0 : 100;
    if (size > 0)
        percent = std::clamp(100 - int(std::min(std::floor(double(waiting) / double(size) * 100.0), 1000.0)), 0, 100);
    emit Progress(taken, total, percent);
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
    const QByteArray bytes = m_socket->readAll();
    if (bytes.isEmpty())
        return;
    m_reply.Append(bytes);
    m_words.Append(bytes);
    emit Passing(StatusText::LoadData(m_reply.Size()));
}

void UploadCycle::OnClosedByPeer()
{
    if (m_state != State::Sending && m_state != State::Receiving)
        return;
    m_meter.Measure();
    TakeReplyBytes();
    // Closed before the request went out whole and without a word: the
    // picture cannot have arrived, so it is safe to send again.
    if (m_reply.Size() == 0 && !m_requestOut)
        GoDown(QAbstractSocket::RemoteHostClosedError);
    else
        JudgeReply(true);
}

void UploadCycle::OnError(QAbstractSocket::SocketError error)
{
    if (m_state == State::Idle || m_state == State::Waiting)
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
    if (m_state != State::Idle && m_state != State::Waiting)
        OnBroken(QAbstractSocket::SocketTimeoutError);
}

void UploadCycle::OnBroken(QAbstractSocket::SocketError error)
{
    if (m_state != State::Connecting)
        TakeReplyBytes();
    if (m_reply.Size() > 0 || m_requestOut)
        JudgeReply(false);
    else
        GoDown(error);
}

void UploadCycle::GoDown(QAbstractSocket::SocketError error)
{
    DropConnection();
    m_state = State::Waiting;
    emit NetworkDown(error);
}

void UploadCycle::JudgeReply(bool whole)
{
    DropConnection();
    const ReplyJudge::Verdict verdict = m_reply.Judge();
    QString words;
    switch (verdict) {
    case ReplyJudge::Verdict::Refused:
        emit StatusChanged(StatusText::Refused());
        emit LoginRefused();
        return;
    case ReplyJudge::Verdict::Accepted:
        emit StatusChanged(StatusText::Accepted());
        break;
    case ReplyJudge::Verdict::Failed:
        words = whole && m_reply.Size() > 0 ? m_words.Text() : LostReply(m_reply.Size() > 0);
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
        Fail(disposal.error);
        return;
    case PictureDisposal::Kind::PassedOver:
        Report(PictureOutcome::Kind::PassedOver, size, disposal.error);
        break;
    case PictureDisposal::Kind::SetAside:
        Report(PictureOutcome::Kind::SetAside, size, words, disposal.asideName);
        break;
    case PictureDisposal::Kind::Deleted:
    case PictureDisposal::Kind::Stays:
        // A picture replaced since it was read stays for its turn; the one
        // that was sent and accepted still counts as uploaded.
        if (verdict == ReplyJudge::Verdict::Accepted)
            Report(PictureOutcome::Kind::Accepted, size, QString());
        break;
    }
    Finish();
}

void UploadCycle::PassOver(const QString &reason)
{
    DropConnection();
    Report(PictureOutcome::Kind::PassedOver, m_sending.Path() == m_path ? m_sending.PictureSize() : -1, reason);
    m_sending.Clear();
    Finish();
}

void UploadCycle::Report(PictureOutcome::Kind kind, qint64 size, const QString &words, const QString &asideName)
{
    emit PictureHandled({kind, m_path, size, asideName, words, m_done});
}

void UploadCycle::Finish()
{
    m_state = State::Idle;
    m_taken = m_requestSize = 0;
    emit Finished();
}

void UploadCycle::Fail(const QString &message)
{
    DropConnection();
    emit Failed(message);
}

void UploadCycle::DropConnection()
{
    m_timeout.Release();
    m_meter.Stop();
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}
