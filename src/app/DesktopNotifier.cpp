#include "app/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
// The installed icon's and desktop entry's name, so the desktop shows the
// program's own picture beside the words.
const QString AppId = QStringLiteral("org.picaroon.Picaroon");
const QString DefaultAction = QStringLiteral("default");

}

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
{
}

bool DesktopNotifier::Notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!m_listening)
        m_listening = bus.connect(Service, Path, Service, QStringLiteral("ActionInvoked"), this,
                                  SLOT(OnActionInvoked(uint, QString)));
    // A method call of our own rather than an interface object: building
    // one asks the service to describe itself, and waits for the answer.
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Service, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), AppId}};
    call << QStringLiteral("Picaroon") << uint(0) << AppId << summary << body
         << QStringList{DefaultAction, tr("Show the window")} << hints << int(-1);
    call.setAutoStartService(true);
    m_lastId = 0;
    // The service signals every program's clicks: ours are known by the
    // id, which comes back later, so nothing waits for it.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        const QDBusPendingReply<uint> reply = *done;
        if (reply.isValid())
            m_lastId = reply.value();
        // A click may overtake the answer that names its notification.
        if (m_earlyClicks.contains(m_lastId) && m_lastId != 0)
            emit Clicked();
        m_earlyClicks.clear();
        done->deleteLater();
    });
    return true;
}

void DesktopNotifier::OnActionInvoked(uint id, const QString &action)
{
    if (action != DefaultAction || id == 0)
        return;
    if (m_lastId == 0)
        m_earlyClicks.append(id);
    else if (id == m_lastId)
        emit Clicked();
}
