#include "app/RunTitle.h"

#include "upload/RunSummary.h"

#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

const QString Name = QStringLiteral("Picaroon");
// Someone who went away from a run this long learns how it ended.
constexpr qint64 LongRun = 10000;

}

RunTitle::RunTitle(QWidget &window, RunScheduler &run, RunSummary &summary)
    : QObject(&window)
    , m_window(window)
    , m_run(run)
    , m_summary(summary)
{
    m_window.setWindowTitle(Name);
    connect(&run, &RunScheduler::RunStarted, this, &RunTitle::OnRunStarted);
    connect(&run, &RunScheduler::PictureStarted, this,
            [this](const QString &, qint64 number) { OnPictureStarted(number); });
    connect(&m_notifier, &DesktopNotifier::Clicked, this, &RunTitle::Clicked);
    connect(&run, &RunScheduler::StatusChanged, this, [this](const QString &text) { m_lastStatus = text; });
    connect(&run, &RunScheduler::RunEnded, this, &RunTitle::OnRunEnded);
    connect(&summary, &RunSummary::Changed, this, &RunTitle::ShowProgress);
}

void RunTitle::OnRunStarted()
{
    m_number = 0;
    m_pace.Reset();
    m_runTime.start();
}

void RunTitle::OnPictureStarted(qint64 number)
{
    m_number = number;
    ShowProgress();
}

void RunTitle::ShowProgress()
{
    if (m_run.CurrentState() == RunScheduler::State::Idle && !m_runTime.isValid())
        return;
    // Several pictures at once: the count is of those done.
    const qint64 number
        = m_run.Connections() > 1 ? m_summary.Handled() : std::max<qint64>(m_number, m_summary.Handled());
    m_pace.Add(m_runTime.elapsed(), m_summary.DoneBytes(), m_summary.TotalBytes());
    QString title = tr("%1% · %2 of %3").arg(m_summary.BytePercent()).arg(number).arg(m_summary.Total());
    if (const QString pace = m_pace.Text(); !pace.isEmpty())
        title += QStringLiteral(" · ") + pace;
    m_window.setWindowTitle(title + QStringLiteral(" — ") + Name);
    ShowPace(m_pace.Text());
}

void RunTitle::ShowPace(const QString &text)
{
    if (text != std::exchange(m_paceText, text))
        emit PaceChanged(text);
}

void RunTitle::OnRunEnded(RunScheduler::Outcome outcome)
{
    m_window.setWindowTitle(Name);
    ShowPace(QString());
    if (outcome == RunScheduler::Outcome::NothingToUpload || !m_runTime.isValid())
        return;
    const qint64 took = m_runTime.elapsed();
    m_runTime.invalidate();
    if (took > LongRun && !m_window.isActiveWindow())
        m_notifier.Notify(outcome == RunScheduler::Outcome::Done ? m_summary.EndText() : m_lastStatus,
                          m_summary.Text());
}
