#pragma once

#include <QObject>
#include <QTcpServer>

class StandinService;

// Listens on the loopback address only: the stand-in is a test peer, never
// a service for other machines.
class StandinServer : public QObject
{
    Q_OBJECT

public:
    explicit StandinServer(StandinService &service, QObject *parent = nullptr);

    bool Listen(quint16 port, QString *error);
    quint16 Port() const { return m_listener.serverPort(); }

private:
    void OnNewConnection();

    StandinService &m_service;
    QTcpServer m_listener;
};
