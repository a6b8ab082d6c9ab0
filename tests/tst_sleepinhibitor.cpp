#include "upload/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// The login manager as the test plays it: each inhibitor is one end of a
// pipe, so the test sees the moment every copy of it is closed.
class FakeLoginManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    ~FakeLoginManager() override
    {
        if (m_readEnd >= 0)
            ::close(m_readEnd);
    }
    bool Handed() const { return m_readEnd >= 0; }
    bool InhibitorOpen() const
    {
        pollfd end{m_readEnd, POLLIN, 0};
        return ::poll(&end, 1, 0) == 0;
    }
    QStringList asked;

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &, const QString &, const QString &mode)
    {
        asked.append(what + ' ' + mode);
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return QDBusUnixFileDescriptor();
        if (m_readEnd >= 0)
            ::close(m_readEnd);
        m_readEnd = ends[0];
        const QDBusUnixFileDescriptor handed(ends[1]);
        ::close(ends[1]);
        return handed;
    }

private:
    int m_readEnd = -1;
};

// Against a bus of its own, never the machine's.
class TestSleepInhibitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--print-address", "--nofork"});
        QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        QVERIFY(Bus("client").isConnected());
        QVERIFY(Bus("client").connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing);
    }

    void cleanupTestCase()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void withoutServiceNothingHappens()
    {
        SleepInhibitor unconnected(QDBusConnection(QStringLiteral("no bus")));
        unconnected.Take();
        QVERIFY(!unconnected.IsHeld());

        SleepInhibitor inhibitor(Bus("client"));
        inhibitor.Take();
        QVERIFY(!inhibitor.IsHeld());
        inhibitor.Release();
    }

    void heldForTheRunOnly()
    {
        QDBusConnection service = Bus("service");
        FakeLoginManager manager;
        QVERIFY(service.registerObject("/org/freedesktop/login1", &manager, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.login1"));

        SleepInhibitor inhibitor(Bus("client"));
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
        service.unregisterService("org.freedesktop.login1");
    }

private:
    QDBusConnection Bus(const char *name) const
    {
        return QDBusConnection::connectToBus(m_address, QString::fromLatin1(name));
    }

    QProcess m_daemon;
    QString m_address;
};

QTEST_GUILESS_MAIN(TestSleepInhibitor)
#include "tst_sleepinhibitor.moc"
