#pragma once

#include "settings/SettingKey.h"

#include <QAbstractSocket>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

// How long a run waits out a network that is down: pauses of 2, 4, 8 …
// seconds, at most 60, for as long as the retry window lasts, counted from
// the first failure in a row. A member who walks away from a long run
// should come back to a finished one, not to one that a few seconds of
// lost network ended at its ninth picture.
class RetrySchedule : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultWindowSeconds = SettingDefaults::RetryForSeconds;
    static constexpr int FirstPause = 2;
    static constexpr int LongestPause = 60;

    explicit RetrySchedule(QObject *parent = nullptr);

    // A network that is down or a service that is away, which time may
    // mend: no connection, a lost one, a name not found, a silence.
    static bool IsPassing(QAbstractSocket::SocketError error);

    // 0: never try again.
    void SetWindow(int seconds);
    // What time it is in milliseconds, and how long a second of pause
    // lasts: a test's clock in place of the real one.
    void SetClock(std::function<qint64()> now, int msPerSecond);

    // After a failure: starts the pause and gives its seconds, or -1 when
    // the window has run out (the schedule then starts afresh).
    int PauseAfterFailure();
    // Something got through: the next failure opens a new window.
    void Reset();

signals:
    void PauseOver();

private:
    QTimer m_timer;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_now;
    int m_msPerSecond = 1000;
    int m_window = DefaultWindowSeconds;
    // When the first failure in a row came; -1 while none has.
    qint64 m_since = -1;
    int m_nextPause = FirstPause;
};
