#include "app/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

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

        QVERIFY(DesktopNotifier().Notify(QStringLiteral("Готово"), summary));
        QTRY_COMPARE(notified.size(), 1);
        const QVariantList arguments = notified.at(0).at(0).toList();
        QCOMPARE(arguments.size(), 8);
        QCOMPARE(arguments.mid(3, 2), (QVariantList{QStringLiteral("Готово"), summary}));
        bus.unregisterService(Service);
        bus.unregisterObject(Path);
    }

    // Without a bus, or without the service on it, the message goes
    // nowhere, quietly and without waiting.
    void noServiceIsNoTrouble()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected())
            QVERIFY(!bus.interface()->isServiceRegistered(Service));
        QCOMPARE(DesktopNotifier().Notify(QStringLiteral("Готово"), QString()), bus.isConnected());
        if (bus.isConnected()) {
            // The bus answers in order: once this is answered, so was the
            // notification, and whatever its failure brings has arrived.
            QVERIFY(!bus.interface()->isServiceRegistered(Service));
            QCoreApplication::processEvents();
        }
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
