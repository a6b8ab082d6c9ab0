#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM act as the Stop button. A signal handler may do almost
// nothing, so it only writes a byte that the event loop then reads.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void StopRequested();

private:
    void OnSignalByte();

    QSocketNotifier *m_notifier = nullptr;
};
