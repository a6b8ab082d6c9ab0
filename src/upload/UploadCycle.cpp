#include "upload/UploadCycle.h"

#include "folder/FileList.h"
#include "folder/FileOps.h"
#include "folder/ImageFolder.h"
#include "upload/SocketErrorNumber.h"
#include "upload/UploadView.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>

#include <algorithm>
#include <cmath>
#include <utility>

UploadCycle::UploadCycle(UploadView &view, FileList &files, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_Files(files)
    , m_builder(QString())
{
    connect(&m_timeout, &SilenceTimeout::TimedOut, this, &UploadCycle::OnTimedOut);
}

UploadCycle::~UploadCycle()
{
    // Closing the window mid-run drops the connection and writes nothing;
    // the current picture stays in the folder.
    if (m_WS)
        m_WS->disconnect(this);
}

void UploadCycle::SetServer(const QString &host, quint16 port)
{
    m_host = host;
    m_port = port;
    const QString name = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    m_builder.SetHostHeader(port == 80 ? name : name + QLatin1Char(':') + QString::number(port));
}

void UploadCycle::Start()
{
    if (m_state != State::Idle)
        return;
    m_Files.SetPattern(QString::fromLatin1(ImageFolder::Pattern));
    if (!m_Files.Refresh()) {
        FailUnexpectedly(m_Files.ErrorString());
        return;
    }
    if (m_Files.Count() == 0) {
        emit RunEnded(Outcome::NothingToUpload);
        return;
    }
    m_FileNo = 0;
    m_FileTotal = m_Files.Count();
    m_passedOver.clear();
    QStringList paths;
    paths.reserve(m_Files.Count());
    for (qsizetype i = 0; i < m_Files.Count(); ++i)
        paths.append(m_Files.EntryPath(i));
    emit RunStarted(paths);
    m_view.ShowStopButton(true);
    m_CurrentFile = m_Files.EntryPath(0);
    NextFile();
}

void UploadCycle::Stop()
{
    if (m_state == State::Idle)
        return;
    // Our own close is never judged as a reply: the connection is dropped
    // before the socket can report it.
    DropConnection();
    m_view.ShowStatus(QStringLiteral("Остановлено"));
    ReportCurrent(PictureOutcome::Kind::Stopped, QString());
    EndRun(Outcome::Stopped);
}

void UploadCycle::NextFile()
{
    if (!m_Files.Refresh()) {
        FailUnexpectedly(m_Files.ErrorString());
        return;
    }
    ++m_FileNo;
    if (!OpenNextPicture()) {
        m_view.ShowStatus(QStringLiteral("Готово"));
        EndRun(Outcome::Done);
        return;
    }
    m_ReplyText.Clear();
    m_words.Clear();
    m_view.ShowStatus(QStringLiteral("Соединение..."));
    m_state = State::Connecting;

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
    // The first entry, as the picture handled last has left the folder or
    // the pattern by now; only those passed over in this run stay behind.
    for (qsizetype i = 0; i < m_Files.Count(); ++i) {
        const QString path = m_Files.EntryPath(i);
        if (m_passedOver.contains(path))
            continue;
        m_CurrentFile = path;
        m_inFlight = true;
        if (m_Ahead.IsOpen() && m_Ahead.Path() == path) {
            m_Sending = std::exchange(m_Ahead, PictureRequest());
            return true;
        }
        m_Ahead.Clear();
        QString why;
        if (m_Sending.Open(path, &why))
            return true;
        PassOver(path, why);
    }
    return false;
}

void UploadCycle::PassOver(const QString &path, const QString &reason)
{
    m_passedOver.insert(path);
    m_view.ReportPassedOver(path, reason);
    const qint64 size = path == m_Sending.Path() ? m_Sending.PictureSize() : -1;
    Report(PictureOutcome::Kind::PassedOver, path, size, reason);
}

void UploadCycle::Report(PictureOutcome::Kind kind, const QString &path, qint64 size, const QString &words,
                         const QString &asideName)
{
    if (path == m_CurrentFile)
        m_inFlight = false;
    emit PictureHandled({kind, path, size, asideName, words});
}

void UploadCycle::ReportCurrent(PictureOutcome::Kind kind, const QString &words)
{
    if (m_inFlight)
        Report(kind, m_CurrentFile, m_Sending.IsOpen() ? m_Sending.PictureSize() : -1, words);
}

void UploadCycle::OnConnected()
{
    const QString login = m_view.LoginText();
    const QString password = m_view.PasswordText();
    m_view.ShowStatus(CounterText());
    // Sent as the picture stands now: opened anew if its name leads to
    // other bytes since it was opened or read ahead.
    if (!m_Sending.Fits(m_CurrentFile, login, password)) {
        QString error;
        if (!m_Sending.StillOnDisk() && !m_Sending.Open(m_CurrentFile, &error)) {
            PassOverCurrent(error);
            return;
        }
        switch (m_Sending.Build(m_builder, login, password, &error)) {
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
    m_state = State::Sending;
    // The request goes out in one piece and nothing follows it: holding its
    // last segment back for an acknowledgement only adds a delay.
    m_WS->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QByteArray request = m_Sending.TakeRequest();
    m_requestSize = request.size();
    m_WS->write(request);
}

void UploadCycle::PassOverCurrent(const QString &reason)
{
    DropConnection();
    PassOver(m_CurrentFile, reason);
    m_Sending.Clear();
    NextFile();
}

void UploadCycle::OnBytesWritten()
{
    if (m_state != State::Sending)
        return;
    const qint64 size = m_Sending.PictureSize();
    const qint64 waiting = m_WS->bytesToWrite();
    // The bytes waiting include the headers and framing, so a small picture
    // would start below zero; an empty one has no ratio at all.
    int percent = waiting > 0 ? 0 : 100;
    if (size > 0)
        percent = std::clamp(100 - int(std::min(std::floor(double(waiting) / double(size) * 100.0), 1000.0)), 0, 100);
    m_view.ShowStatus(CounterText() + QStringLiteral(" (%1%)").arg(percent));
    emit SendProgress(m_requestSize - waiting, m_requestSize);
    if (waiting == 0)
        UseTheWait();
}

void UploadCycle::UseTheWait()
{
    // The service is now reading and storing the picture. What would
    // otherwise stand between two pictures is done meanwhile: giving back
    // the storage of the one deleted last, and reading the next one, which
    // is sent only if the folder still holds it unchanged when its turn
    // comes.
    m_Handled.reset();
    for (qsizetype i = 0; i < m_Files.Count(); ++i) {
        const QString path = m_Files.EntryPath(i);
        if (path == m_CurrentFile || m_passedOver.contains(path))
            continue;
        m_Ahead.BuildAhead(m_builder, path, m_view.LoginText(), m_view.PasswordText());
        break;
    }
}

void UploadCycle::OnReadyRead()
{
    if (m_state != State::Sending && m_state != State::Receiving)
        return;
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
    m_view.ShowStatus(QStringLiteral("Load data - %1 Kb").arg(m_ReplyText.Size() / 1024));
}

void UploadCycle::OnClosedByPeer()
{
    if (m_state != State::Sending && m_state != State::Receiving)
        return;
    TakeReplyBytes();
    DropConnection();
    QString error;
    switch (m_ReplyText.Judge()) {
    case ReplyJudge::Verdict::Refused:
        m_view.ShowStatus(QStringLiteral("Неверное имя или пароль"));
        ReportCurrent(PictureOutcome::Kind::Refused, QString());
        EndRun(Outcome::Refused);
        return;
    case ReplyJudge::Verdict::Accepted:
        m_view.ShowStatus(QStringLiteral("OK"));
        // A name that leads to other bytes now holds a picture that was
        // never sent: it stays, and goes in its turn.
        if (m_Sending.StillOnDisk() && !FileOps::DeleteFile(m_CurrentFile, true, &error)) {
            FailUnexpectedly(error);
            return;
        }
        Report(PictureOutcome::Kind::Accepted, m_CurrentFile, m_Sending.PictureSize(), QString());
        break;
    case ReplyJudge::Verdict::Failed: {
        m_view.ShowStatus(QStringLiteral("Failed"));
        const QString words = m_words.Text();
        m_view.ShowServiceWords(words);
        if (!m_Sending.StillOnDisk())
            break;
        QString asideName;
        if (FileOps::SetAside(m_CurrentFile, &asideName, &error))
            Report(PictureOutcome::Kind::SetAside, m_CurrentFile, m_Sending.PictureSize(), words, asideName);
        else
            PassOver(m_CurrentFile, error);
        break;
    }
    }
    m_Handled = m_Sending.TakeFile();
    NextFile();
}

void UploadCycle::OnError(QAbstractSocket::SocketError error)
{
    if (m_state == State::Idle)
        return;
    // The peer's ordinary close after its reply arrives as this "error"
    // first; it is the end of the reply, not a failure of the run.
    if (error == QAbstractSocket::RemoteHostClosedError && m_state != State::Connecting) {
        OnClosedByPeer();
        return;
    }
    // Dropped so that a later Start connects afresh.
    DropConnection();
    const QString status = QStringLiteral("Error #%1").arg(SocketErrorNumber(error));
    m_view.ShowStatus(status);
    ReportCurrent(PictureOutcome::Kind::Error, status);
    EndRun(Outcome::SocketError);
}

void UploadCycle::OnTimedOut()
{
    if (m_state == State::Idle)
        return;
    DropConnection();
    const QString status = QStringLiteral("Error #%1").arg(SocketErrorNumber(QAbstractSocket::SocketTimeoutError));
    m_view.ShowStatus(status);
    ReportCurrent(PictureOutcome::Kind::Error, status);
    EndRun(Outcome::SocketError);
}

QString UploadCycle::CounterText() const
{
    return QStringLiteral("Закачка %1 из %2").arg(m_FileNo).arg(m_FileTotal);
}

void UploadCycle::DropConnection()
{
    m_timeout.Release();
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
    m_inFlight = false;
    m_Sending.Clear();
    m_Ahead.Clear();
    m_Handled.reset();
    m_view.ShowStopButton(false);
    if (outcome == Outcome::Unexpected)
        m_view.ReportUnexpectedError(message);
    emit RunEnded(outcome);
}

void UploadCycle::FailUnexpectedly(const QString &message)
{
    DropConnection();
    ReportCurrent(PictureOutcome::Kind::Error, message);
    EndRun(Outcome::Unexpected, message);
}
