#include "cli/StopSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};
volatile std::sig_atomic_t StopSeen = 0;

void OnSignal(int)
{
    StopSeen = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[0], &byte, 1);
}

}

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    StopSeen = 0;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::OnSignalByte);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignals::~StopSignals()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool StopSignals::Requested() const
{
    return StopSeen != 0;
}

void StopSignals::OnSignalByte()
{
    char byte;
    [[maybe_unused]] const ssize_t got = ::read(SignalPipe[1], &byte, 1);
    emit StopRequested();
}
