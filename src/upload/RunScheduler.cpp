#include "upload/RunScheduler.h"

#include "settings/HostAddress.h"
#include "upload/SocketErrorNumber.h"
#include "upload/StatusText.h"
#include "upload/UploadCycle.h"

#include <QFile>

#include <algorithm>

RunScheduler::RunScheduler(FileList &files, QObject *parent)
    : QObject(parent)
    , m_queue(files)
    , m_builder(QString())
    , m_timeoutSeconds(SilenceTimeout::DefaultSeconds)
{
    SetServer(HostAddress());
    connect(&m_retry, &RetrySchedule::PauseOver, this, &RunScheduler::OnPauseOver);
    m_tally.Follow(*this);
}

RunScheduler::~RunScheduler()
{
    // The cycles send with this scheduler's builder and choices: gone first.
    qDeleteAll(std::exchange(m_cycles, {}));
}

void RunScheduler::SetServer(const HostAddress &address)
{
    m_host = address.Host();
    m_port = address.Port();
    m_builder.SetHostHeader(address.HostHeader());
    for (UploadCycle *cycle : std::as_const(m_cycles))
        cycle->SetServer(m_host, m_port);
}

void RunScheduler::SetCredentials(const QString &login, const QString &password)
{
    m_login = login;
    m_password = password;
}

void RunScheduler::SetConnections(int count) { m_connections = std::clamp(count, 1, MostConnections); }

int RunScheduler::Connections() const { return m_state == State::Idle ? m_connections : int(m_cycles.size()); }

void RunScheduler::Start()
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
    while (m_cycles.size() > m_connections)
        m_cycles.takeLast()->deleteLater();
    while (m_cycles.size() < m_connections) {
        auto *cycle = new UploadCycle(m_builder, m_preparation, this);
        Follow(*cycle);
        m_cycles.append(cycle);
    }
    for (UploadCycle *cycle : std::as_const(m_cycles)) {
        cycle->SetServer(m_host, m_port);
        cycle->SetTimeout(m_timeoutSeconds);
    }
    m_number = 0;
    m_emptied = false;
    m_total = paths.size();
    m_state = State::Running;
    emit RunStarted(paths);
    Fill();
}

void RunScheduler::Stop()
{
    if (m_state == State::Idle)
        return;
    Show(StatusText::Stopped());
    EndAround(nullptr, PictureOutcome::Kind::Stopped, QString(), Outcome::Stopped);
}

void RunScheduler::Follow(UploadCycle &cycle)
{
    connect(&cycle, &UploadCycle::StatusChanged, this, &RunScheduler::Show);
    // Several connections at once would make the line flicker between them:
    // it shows the run's count instead.
    connect(&cycle, &UploadCycle::Passing, this, [this](const QString &text) {
        if (m_cycles.size() == 1)
            Show(text);
    });
    connect(&cycle, &UploadCycle::PicturePrepared, this, &RunScheduler::PicturePrepared);
    connect(&cycle, &UploadCycle::ServiceSaid, this, &RunScheduler::ServiceSaid);
    connect(&cycle, &UploadCycle::PictureHandled, this, &RunScheduler::OnHandled);
    connect(&cycle, &UploadCycle::Connected, this, [this, &cycle] { OnConnected(cycle); });
    connect(&cycle, &UploadCycle::Progress, this,
            [this, &cycle](qint64 taken, qint64 total, int percent) { OnProgress(cycle, taken, total, percent); });
    connect(&cycle, &UploadCycle::RequestOut, this, [this] {
        if (m_state == State::Running)
            m_retry.Reset();
        m_ahead.UseTheWait(m_builder, m_preparation, NextFree(), m_login, m_password);
    });
    connect(&cycle, &UploadCycle::Finished, this, [this, &cycle] { OnFinished(cycle); });
    connect(&cycle, &UploadCycle::NetworkDown, this,
            [this, &cycle](QAbstractSocket::SocketError error) { OnNetworkDown(cycle, error); });
    connect(&cycle, &UploadCycle::LoginRefused, this,
            [this, &cycle] { EndAround(&cycle, PictureOutcome::Kind::Refused, QString(), Outcome::Refused); });
    connect(&cycle, &UploadCycle::Failed, this, [this, &cycle](const QString &message) {
        EndAround(&cycle, PictureOutcome::Kind::Error, message, Outcome::Unexpected, message);
    });
}

void RunScheduler::Fill()
{
    for (UploadCycle *cycle : std::as_const(m_cycles)) {
        if (m_state != State::Running)
            return;
        if (!cycle->IsBusy() && !StartNext(*cycle))
            break;
    }
    const bool busy = std::any_of(m_cycles.cbegin(), m_cycles.cend(), [](auto *c) { return c->IsBusy(); });
    if (m_state == State::Running && busy && !m_emptied && NextFree().isEmpty()) {
        m_emptied = true;
        emit QueueEmptied();
    }
    if (m_state == State::Running && !busy) {
        Show(StatusText::Done());
        EndRun(Outcome::Done);
    }
}

bool RunScheduler::StartNext(UploadCycle &cycle)
{
    QString error;
    if (!m_queue.Refresh(&error)) {
        FailUnexpectedly(error);
        return false;
    }
    ++m_number;
    for (QString path = NextFree(); !path.isEmpty(); path = NextFree()) {
        PictureRequest request;
        QString why;
        if (m_ahead.Take(path, &request) || request.Open(path, &why)) {
            emit PictureStarted(path, m_number, m_total);
            cycle.Send(std::move(request), m_number, m_login, m_password);
            return true;
        }
        OnHandled({PictureOutcome::Kind::PassedOver, path, request.Path() == path ? request.PictureSize() : -1,
                   QString(), why, QString()});
    }
    return false;
}

// The first picture of the folder that no connection holds: pictures start
// in the folder's order, each on one connection only.
QString RunScheduler::NextFree() const
{
    QStringList held;
    for (const UploadCycle *cycle : m_cycles) {
        if (cycle->IsBusy())
            held.append(cycle->Path());
    }
    return m_queue.Next(held);
}

void RunScheduler::OnConnected(const UploadCycle &cycle)
{
    // One at a time, the line counts the picture going; several at once,
    // the pictures done and the bytes taken of all.
    if (m_cycles.size() > 1)
        ShowRunProgress();
    else
        Show(StatusText::Counter(cycle.Number(), m_total));
}

void RunScheduler::OnProgress(const UploadCycle &cycle, qint64 taken, qint64 total, int percent)
{
    if (m_cycles.size() > 1) {
        ShowRunProgress();
        return;
    }
    Show(StatusText::CounterWithPercent(cycle.Number(), m_total, percent));
    emit SendProgress(taken, total);
}

void RunScheduler::ShowRunProgress()
{
    qint64 taken = 0;
    qint64 total = 0;
    for (const UploadCycle *cycle : std::as_const(m_cycles)) {
        taken += cycle->Taken();
        total += cycle->RequestSize();
    }
    emit SendProgress(taken, total);
    // Eight connections read on their own timers: the line changes only
    // when what it says does.
    // While the run waits, the line keeps saying so.
    const QString text = m_state == State::Pausing
        ? m_pause
        : StatusText::CounterWithPercent(m_tally.Handled(), m_total, m_tally.BytePercent());
    if (text != m_shown)
        Show(text);
}

void RunScheduler::OnHandled(const PictureOutcome &outcome)
{
    if (outcome.kind == PictureOutcome::Kind::PassedOver)
        m_queue.PassOver(outcome.path);
    emit PictureHandled(outcome);
}

void RunScheduler::OnFinished(UploadCycle &cycle)
{
    m_ahead.Keep(cycle.TakeFile());
    if (m_cycles.size() > 1)
        ShowRunProgress();
    Fill();
}

void RunScheduler::OnNetworkDown(UploadCycle &cycle, QAbstractSocket::SocketError error)
{
    const int pause = RetrySchedule::IsPassing(error) ? m_retry.PauseAfterFailure() : -1;
    if (pause < 0) {
        const QString status = StatusText::SocketError(SocketErrorNumber(error));
        Show(status);
        EndAround(&cycle, PictureOutcome::Kind::Error, status, Outcome::SocketError);
        return;
    }
    // The whole run waits: what has not gone out whole waits with it, what
    // has goes on to its reply.
    m_state = State::Pausing;
    for (UploadCycle *other : std::as_const(m_cycles))
        other->Hold();
    m_pause = StatusText::NoConnection(SocketErrorNumber(error), pause);
    Show(m_pause);
}

void RunScheduler::OnPauseOver()
{
    if (m_state != State::Pausing)
        return;
    m_state = State::Running;
    for (UploadCycle *cycle : std::as_const(m_cycles)) {
        if (m_state != State::Running)
            return;
        cycle->TryAgain();
    }
    Fill();
}

void RunScheduler::EndAround(UploadCycle *cause, PictureOutcome::Kind kind, const QString &words, Outcome outcome,
                             const QString &message)
{
    if (cause)
        cause->Abandon(kind, words);
    for (UploadCycle *cycle : std::as_const(m_cycles))
        cycle->Abandon(PictureOutcome::Kind::Stopped, QString());
    EndRun(outcome, message);
}

void RunScheduler::EndRun(Outcome outcome, const QString &message)
{
    m_state = State::Idle;
    m_retry.Reset();
    m_ahead.Clear();
    emit RunEnded(outcome, message);
}

void RunScheduler::Show(const QString &text)
{
    m_shown = text;
    emit StatusChanged(text);
}

void RunScheduler::FailUnexpectedly(const QString &message)
{
    EndAround(nullptr, PictureOutcome::Kind::Error, message, Outcome::Unexpected, message);
}
