#include "upload/SleepInhibitor.h"

#include "upload/RunScheduler.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

// Long enough for a busy service, short enough that a lost answer does not
// keep a call around for the whole run.
constexpr int AnswerTimeoutMs = 10000;

}

SleepInhibitor::SleepInhibitor(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
}

void SleepInhibitor::Follow(RunScheduler &run)
{
    connect(&run, &RunScheduler::RunStarted, this, &SleepInhibitor::Take);
    connect(&run, &RunScheduler::RunEnded, this, &SleepInhibitor::Release);
}

void SleepInhibitor::Take()
{
    m_wanted = true;
    if (IsHeld() || !m_bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    // "block": a run must not be cut by sleep at all; a delay would only
    // put it off for a few seconds.
    call << QStringLiteral("sleep") << QStringLiteral("Picaroon") << tr("Uploading pictures")
         << QStringLiteral("block");
    const quint64 asked = ++m_asked;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, AnswerTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, asked](QDBusPendingCallWatcher *answer) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *answer;
        answer->deleteLater();
        if (asked == m_asked && m_wanted && !reply.isError() && !IsHeld())
            m_held = reply.value();
    });
}

void SleepInhibitor::Release()
{
    m_wanted = false;
    // Our copy of the descriptor is the one that counts; closing it ends
    // the block.
    m_held = QDBusUnixFileDescriptor();
}
