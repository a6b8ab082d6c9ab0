#include "upload/RunPace.h"

#include <QLocale>

#include <cmath>

void RunPace::Reset()
{
    m_samples.clear();
    m_total = 0;
    m_firstMove = -1;
}

void RunPace::Add(qint64 atMs, qint64 doneBytes, qint64 totalBytes)
{
    m_total = totalBytes;
    // The wait for the first bytes (a connection, a slow start) is no
    // measure of the link.
    if (!m_samples.empty() && doneBytes > m_samples.back().second && m_firstMove < 0) {
        m_firstMove = m_samples.back().first;
        m_samples.erase(m_samples.begin(), m_samples.end() - 1);
    }
    m_samples.emplace_back(atMs, doneBytes);
    while (m_samples.size() > 2 && m_samples[1].first <= atMs - Span)
        m_samples.pop_front();
}

bool RunPace::Known() const
{
    return m_firstMove >= 0 && m_samples.back().first - m_firstMove >= SeenEnough && BytesPerSecond() > 0;
}

double RunPace::BytesPerSecond() const
{
    if (m_samples.size() < 2)
        return 0;
    const auto &[from, fromBytes] = m_samples.front();
    const auto &[to, toBytes] = m_samples.back();
    return to > from ? double(toBytes - fromBytes) * 1000 / double(to - from) : 0;
}

qint64 RunPace::SecondsLeft() const
{
    const double speed = BytesPerSecond();
    if (speed <= 0)
        return -1;
    return qint64(std::ceil(double(std::max<qint64>(m_total - m_samples.back().second, 0)) / speed));
}

QString RunPace::Text() const
{
    if (!Known())
        return QString();
    const double speed = BytesPerSecond();
    const QLocale locale;
    const QString shownSpeed = speed >= 1024 * 1024 ? tr("%1 MB/s").arg(locale.toString(speed / (1024 * 1024), 'f', 1))
                                                    : tr("%1 KB/s").arg(std::max<qint64>(1, qint64(speed / 1024)));
    const qint64 seconds = SecondsLeft();
    const qint64 minutes = (seconds + 59) / 60;
    QString left;
    if (seconds < 60)
        left = tr("%1 s left").arg(seconds);
    else if (minutes < 60)
        left = tr("%1 min left").arg(minutes);
    else
        left = tr("%1 h %2 min left").arg(minutes / 60).arg(minutes % 60);
    return shownSpeed + QStringLiteral(" · ") + left;
}
