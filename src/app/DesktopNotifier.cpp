#include "app/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

bool DesktopNotifier::Notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // A method call of our own rather than an interface object: building
    // one asks the service to describe itself, and waits for the answer.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Picaroon") << uint(0) << QStringLiteral("picaroon") << summary << body
         << QStringList() << QVariantMap() << int(-1);
    call.setAutoStartService(true);
    return bus.send(call);
}
