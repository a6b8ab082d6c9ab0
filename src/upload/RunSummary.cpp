#include "upload/RunSummary.h"

#include "folder/FileStamp.h"
#include "upload/StatusText.h"
#include "upload/RunScheduler.h"

#include <algorithm>
#include <limits>

RunSummary::RunSummary(QObject *parent)
    : QObject(parent)
{
}

void RunSummary::Follow(RunScheduler &run)
{
    connect(&run, &RunScheduler::RunStarted, this, &RunSummary::BeginRun);
    connect(&run, &RunScheduler::PictureHandled, this, &RunSummary::Count);
    connect(&run, &RunScheduler::SendProgress, this, &RunSummary::Progress);
}

void RunSummary::BeginRun(const QStringList &paths)
{
    m_uploaded = m_setAside = m_passedOver = 0;
    m_total = int(std::min<qsizetype>(paths.size(), std::numeric_limits<int>::max()));
    m_totalBytes = m_doneBytes = m_currentBytes = 0;
    for (const QString &path : paths) {
        if (const auto stamp = FileStamp::OfPath(path))
            m_totalBytes += stamp->size;
    }
    emit Changed();
}

void RunSummary::Count(const PictureOutcome &outcome)
{
    switch (outcome.kind) {
    case PictureOutcome::Kind::Accepted: ++m_uploaded; break;
    case PictureOutcome::Kind::SetAside: ++m_setAside; break;
    case PictureOutcome::Kind::PassedOver: ++m_passedOver; break;
    case PictureOutcome::Kind::Refused:
    case PictureOutcome::Kind::Stopped:
    case PictureOutcome::Kind::Error:
        return;
    }
    m_doneBytes += std::max<qint64>(outcome.size, 0);
    m_currentBytes = 0;
    emit Changed();
}

void RunSummary::Progress(qint64 sent, qint64 total)
{
    // The request's framing is a few hundred bytes: counted as the
    // picture's share, so that the figure reaches the end with the picture.
    const qint64 before = m_currentBytes;
    m_currentBytes = total > 0 ? sent : 0;
    if (m_currentBytes != before)
        emit Changed();
}

int RunSummary::BytePercent() const
{
    if (m_totalBytes <= 0)
        return Handled() >= m_total ? 100 : 0;
    return int(DoneBytes() * 100 / m_totalBytes);
}

QString RunSummary::Text() const
{
    return QStringLiteral("Загружено %1, отложено %2, пропущено %3").arg(m_uploaded).arg(m_setAside).arg(m_passedOver);
}

QString RunSummary::EndText() const
{
    if (!LeftSomething())
        return StatusText::Done();
    return StatusText::Done()
        + QStringLiteral(": загружено %1, отложено %2, пропущено %3").arg(m_uploaded).arg(m_setAside).arg(m_passedOver);
}
