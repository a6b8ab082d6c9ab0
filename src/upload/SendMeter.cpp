#include "upload/SendMeter.h"

#include <QTcpSocket>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <sys/ioctl.h>
#endif

namespace {

// Often enough that the figure moves every second while bytes move.
constexpr int Interval = 250;

}

SendMeter::SendMeter(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(Interval);
    connect(&m_timer, &QTimer::timeout, this, &SendMeter::Measure);
}

void SendMeter::Watch(QTcpSocket *socket, qint64 requestSize)
{
    m_socket = socket;
    m_total = requestSize;
    m_taken = -1;
    m_timer.start();
    Measure();
}

void SendMeter::Stop()
{
    m_timer.stop();
    m_socket = nullptr;
}

qint64 SendMeter::Queued(const QTcpSocket &socket)
{
#ifdef Q_OS_LINUX
    int queued = 0;
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor >= 0 && ::ioctl(int(descriptor), SIOCOUTQ, &queued) == 0)
        return std::max(queued, 0);
#else
    Q_UNUSED(socket)
#endif
    return 0;
}

void SendMeter::Measure()
{
    if (!m_socket) {
        Stop();
        return;
    }
    const qint64 handed = m_total - m_socket->bytesToWrite();
    const qint64 taken = std::clamp<qint64>(handed - Queued(*m_socket), 0, m_total);
    if (taken == m_taken)
        return;
    m_taken = taken;
    emit Taken(taken, m_total);
    if (taken == m_total)
        Stop();
}
