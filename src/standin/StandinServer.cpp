#include "standin/StandinServer.h"

#include "standin/StandinConnection.h"

#include <QTcpSocket>

StandinServer::StandinServer(StandinService &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
    connect(&m_listener, &QTcpServer::newConnection, this, &StandinServer::OnNewConnection);
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
    while (QTcpSocket *socket = m_listener.nextPendingConnection())
        new StandinConnection(socket, m_service, this);
}
