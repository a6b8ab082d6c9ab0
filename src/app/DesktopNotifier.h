#pragma once

#include <QList>
#include <QObject>
#include <QString>

// A message through the desktop's notification service
// (org.freedesktop.Notifications on the session bus), with the program's
// icon and a click that brings the window back. Sent without waiting for
// an answer; where there is no bus or no such service nothing happens and
// nothing is reported, since the window says the same.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotifier(QObject *parent = nullptr);

    // false when there was no session bus to send it on.
    bool Notify(const QString &summary, const QString &body);

signals:
    // The member clicked the last notification sent.
    void Clicked();

private slots:
    void OnActionInvoked(uint id, const QString &action);

private:
    uint m_lastId = 0;
    QList<uint> m_earlyClicks;
    bool m_listening = false;
};
