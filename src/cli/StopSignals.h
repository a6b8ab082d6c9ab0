#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM act as the Stop button. A signal handler may do almost
// nothing, so it only writes a byte that the event loop then reads, and
// marks the stop for work that runs without the event loop to ask.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // Whether a stop signal came since this object was made.
    bool Requested() const;

signals:
    void StopRequested();

private:
    void OnSignalByte();

    QSocketNotifier *m_notifier = nullptr;
};
