#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One window per home folder: a second start finds the first through a
// local socket named after the folder, asks it to the front and ends.
class SingleWindow : public QObject
{
    Q_OBJECT

public:
    explicit SingleWindow(const QString &home, QObject *parent = nullptr);

    // True when a window for this folder answered; it comes to the front.
    bool CallRunning();
    // From now on every later start of this folder's window calls here;
    // false, and nothing changes, when the name cannot be taken.
    bool Listen();

    static QString ServerName(const QString &home);

signals:
    void Called();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};
