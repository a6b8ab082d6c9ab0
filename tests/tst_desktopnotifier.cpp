#include "app/DesktopNotifier.h"
#include "upload/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");

// Plays the desktop's notification service on the test's own session bus.
class NotificationService : public QDBusVirtualObject
{
    Q_OBJECT

public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() != QLatin1String("Notify"))
            return false;
        connection.send(message.createReply(uint(1)));
        emit Notified(message.arguments());
        return true;
    }

signals:
    void Notified(const QVariantList &arguments);
};

// Plays the login manager: each inhibitor it hands out is a pipe's write
// end, so the test sees the moment the last copy of it is closed.
class LoginManager : public QDBusVirtualObject
{
public:
    ~LoginManager() override
    {
        if (m_readEnd >= 0)
            ::close(m_readEnd);
    }
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        int ends[2];
        if (message.member() != QLatin1String("Inhibit") || ::pipe2(ends, O_CLOEXEC) != 0)
            return false;
        asked.append(message.arguments().first().toString() + ' ' + message.arguments().last().toString());
        if (m_readEnd >= 0)
            ::close(m_readEnd);
        m_readEnd = ends[0];
        connection.send(message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))));
        ::close(ends[1]);
        return true;
    }
    bool InhibitorOpen() const
    {
        pollfd end{m_readEnd, POLLIN, 0};
        return ::poll(&end, 1, 0) == 0;
    }

    QStringList asked;

private:
    int m_readEnd = -1;
};

}

class TestDesktopNotifier : public QObject
{
    Q_OBJECT

private slots:
    void summaryReachesTheService()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            QSKIP("no session bus here: CTest runs this case under dbus-run-session too");
        NotificationService service;
        QVERIFY(bus.registerVirtualObject(Path, &service));
        QVERIFY(bus.registerService(Service));
        QSignalSpy notified(&service, &NotificationService::Notified);
        const QString summary = QStringLiteral("Загружено 3, отложено 1, пропущено 0");

        DesktopNotifier notifier;
        QSignalSpy clicked(&notifier, &DesktopNotifier::Clicked);
        QVERIFY(notifier.Notify(QStringLiteral("Готово"), summary));
        QTRY_COMPARE(notified.size(), 1);
        const QVariantList arguments = notified.at(0).at(0).toList();
        QCOMPARE(arguments.size(), 8);
        QCOMPARE(arguments.at(2).toString(), QStringLiteral("org.picaroon.Picaroon"));
        QCOMPARE(arguments.mid(3, 2), (QVariantList{QStringLiteral("Готово"), summary}));
        QCOMPARE(arguments.at(5).toStringList().value(0), QStringLiteral("default"));

        // Only a click on its own notification brings the window; the
        // service speaks of every program's.
        for (uint id : {2u, 1u}) {
            QDBusMessage click = QDBusMessage::createSignal(Path, Service, QStringLiteral("ActionInvoked"));
            click << id << QStringLiteral("default");
            QVERIFY(bus.send(click));
        }
        QTRY_COMPARE(clicked.size(), 1);
        bus.unregisterService(Service);
        bus.unregisterObject(Path);
    }

    void sleepBlockedForTheRunOnly()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "login manager");
        if (!bus.isConnected())
            QSKIP("no session bus here: CTest runs this case under dbus-run-session too");
        LoginManager manager;
        QVERIFY(bus.registerVirtualObject("/org/freedesktop/login1", &manager));
        QVERIFY(bus.registerService("org.freedesktop.login1"));
        SleepInhibitor inhibitor(QDBusConnection::sessionBus());
        inhibitor.Take();
        QTRY_VERIFY(inhibitor.IsHeld());
        QCOMPARE(manager.asked, QStringList{"sleep block"});
        QVERIFY(manager.InhibitorOpen());
        inhibitor.Release();
        QTRY_VERIFY(!manager.InhibitorOpen());
        // A run that ends before the answer comes lets it go as it arrives.
        inhibitor.Take();
        inhibitor.Release();
        QTRY_COMPARE(manager.asked.size(), 2);
        QTRY_VERIFY(!manager.InhibitorOpen());
        QVERIFY(!inhibitor.IsHeld());
        bus.unregisterService("org.freedesktop.login1");
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
