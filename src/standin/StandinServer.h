#pragma once

#include "standin/BodyBudget.h"
#include "standin/StandinLimits.h"

#include <QList>
#include <QObject>
#include <QTcpServer>

class StandinConnection;
class StandinService;

// Listens on the loopback address only: the stand-in is a test peer, never
// a service for other machines. With every connection taken, a newcomer
// takes the place of the oldest one still on its head, else of the oldest
// stranger's; the account's own uploads are never pushed out, and when
// only they are left, newcomers wait for one of them to end.
class StandinServer : public QObject
{
    Q_OBJECT

public:
    explicit StandinServer(StandinService &service, const StandinLimits &limits = {}, QObject *parent = nullptr);
    ~StandinServer() override;

    bool Listen(quint16 port, QString *error);
    quint16 Port() const { return m_listener.serverPort(); }

private:
    void OnNewConnection();
    void OnFinished(StandinConnection *connection);
    StandinConnection *Evictable() const;
    bool MakeRoom();

    StandinService &m_service;
    StandinLimits m_limits;
    BodyBudget m_budget;
    QTcpServer m_listener;
    // Oldest first.
    QList<StandinConnection *> m_connections;
};
