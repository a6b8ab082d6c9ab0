#pragma once

#include <QCoreApplication>
#include <QString>

#include <deque>
#include <utility>

// How fast a run's bytes reach the service and how long the rest will
// take, said once a few seconds of sending have been seen. It weighs the
// last half minute only, so a link that slows down shows it soon.
class RunPace
{
    Q_DECLARE_TR_FUNCTIONS(RunPace)

public:
    // Milliseconds of moving bytes before a figure is worth showing.
    static constexpr qint64 SeenEnough = 3000;
    static constexpr qint64 Span = 30000;

    void Reset();
    // The bytes the service has taken of all, at a time in milliseconds.
    void Add(qint64 atMs, qint64 doneBytes, qint64 totalBytes);
    bool Known() const;
    double BytesPerSecond() const;
    qint64 SecondsLeft() const;
    // "1,2 МБ/с · ещё 3 мин"; empty until known.
    QString Text() const;

private:
    std::deque<std::pair<qint64, qint64>> m_samples;
    qint64 m_total = 0;
    qint64 m_firstMove = -1;
};
