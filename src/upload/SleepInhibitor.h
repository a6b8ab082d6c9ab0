#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

class RunScheduler;

// Keeps the computer from sleeping while a run lasts: the login manager
// (org.freedesktop.login1 on the system bus) hands out a descriptor that
// blocks sleep while it is open. Asked without waiting; where there is no
// bus or no such service nothing happens and nothing is said, since the
// run goes on either way.
class SleepInhibitor : public QObject
{
    Q_OBJECT

public:
    explicit SleepInhibitor(const QDBusConnection &bus, QObject *parent = nullptr);

    // Held from each run's start to its end.
    void Follow(RunScheduler &run);
    bool IsHeld() const { return m_held.isValid(); }

public slots:
    void Take();
    void Release();

private:
    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_held;
    // Which Take an answer belongs to: one that comes after its run has
    // ended is let go at once.
    quint64 m_asked = 0;
    bool m_wanted = false;
};
