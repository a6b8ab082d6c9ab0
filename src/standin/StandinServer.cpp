#include "standin/StandinServer.h"

#include "standin/StandinConnection.h"

#include <QTcpSocket>

StandinServer::StandinServer(StandinService &service, const StandinLimits &limits, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_limits(limits)
    , m_budget(limits.maxBuffered)
{
    connect(&m_listener, &QTcpServer::newConnection, this, &StandinServer::OnNewConnection);
}

StandinServer::~StandinServer()
{
    // First, so that a client whose connection is ended below finds no
    // listener to connect to again.
    m_listener.close();
    // Before the budget they give back to goes, and with it those finished
    // but not yet deleted.
    qDeleteAll(findChildren<StandinConnection *>(Qt::FindDirectChildrenOnly));
}

bool StandinServer::Listen(quint16 port, QString *error)
{
    if (m_listener.listen(QHostAddress::LocalHost, port))
        return true;
    *error = m_listener.errorString();
    return false;
}

void StandinServer::OnNewConnection()
{
    while (m_listener.hasPendingConnections()) {
        // The rest wait, accepted by the system, until a connection ends.
        if (m_connections.size() >= m_limits.maxConnections && !MakeRoom())
            return;
        QTcpSocket *socket = m_listener.nextPendingConnection();
        auto *connection = new StandinConnection(socket, m_service, m_budget, m_limits, this);
        connect(connection, &StandinConnection::Finished, this, &StandinServer::OnFinished);
        m_connections.append(connection);
        connection->Start();
    }
}

void StandinServer::OnFinished(StandinConnection *connection)
{
    m_connections.removeOne(connection);
    // Later, not inside the finished connection's own call.
    QMetaObject::invokeMethod(this, &StandinServer::OnNewConnection, Qt::QueuedConnection);
}

StandinConnection *StandinServer::Evictable() const
{
    for (StandinConnection *connection : m_connections) {
        if (connection->GetPhase() == StandinConnection::Phase::Head)
            return connection;
    }
    for (StandinConnection *connection : m_connections) {
        if (!connection->AdmittedByCookie())
            return connection;
    }
    return nullptr;
}

bool StandinServer::MakeRoom()
{
    StandinConnection *oldest = Evictable();
    if (!oldest)
        return false;
    oldest->Evict();
    return true;
}
