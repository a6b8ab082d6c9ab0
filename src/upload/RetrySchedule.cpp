#include "upload/RetrySchedule.h"

#include <algorithm>

RetrySchedule::RetrySchedule(QObject *parent)
    : QObject(parent)
{
    m_elapsed.start();
    m_now = [this] { return m_elapsed.elapsed(); };
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RetrySchedule::PauseOver);
}

bool RetrySchedule::IsPassing(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::TemporaryError:
        return true;
    default:
        return false;
    }
}

void RetrySchedule::SetWindow(int seconds)
{
    m_window = std::max(seconds, 0);
}

void RetrySchedule::SetClock(std::function<qint64()> now, int msPerSecond)
{
    m_now = std::move(now);
    m_msPerSecond = msPerSecond;
}

int RetrySchedule::PauseAfterFailure()
{
    const qint64 now = m_now();
    if (m_since < 0)
        m_since = now;
    const qint64 left = m_since + qint64(m_window) * 1000 - now;
    if (left <= 0) {
        Reset();
        return -1;
    }
    // The last pause is cut to what is left, so the last try comes as the
    // window ends.
    const int pause = int(std::min<qint64>(m_nextPause, (left + 999) / 1000));
    m_nextPause = std::min(m_nextPause * 2, LongestPause);
    m_timer.start(pause * m_msPerSecond);
    return pause;
}

void RetrySchedule::Reset()
{
    m_timer.stop();
    m_since = -1;
    m_nextPause = FirstPause;
}
