#pragma once

#include "settings/SettingKey.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QAbstractSocket;

// Gives up on a connection that is not established, or on which no byte
// has moved either way, for a number of seconds: a service that accepts
// the connection and never answers must not hold a run for ever.
class SilenceTimeout : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultSeconds = SettingDefaults::TimeoutSeconds;

    explicit SilenceTimeout(QObject *parent = nullptr);

    // 0: wait for ever.
    void SetSeconds(int seconds);
    int Seconds() const { return m_seconds; }
    // From the connect on; every byte sent or received starts the count anew.
    void Watch(QAbstractSocket *socket);
    void Release();

signals:
    void TimedOut();

private:
    void Restart();

    QTimer m_timer;
    QPointer<QAbstractSocket> m_socket;
    int m_seconds = DefaultSeconds;
};
