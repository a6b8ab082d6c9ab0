#include "app/SingleWindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Asked before the event loop runs; a window that does not answer in this
// time is taken for gone.
constexpr int AnswerTimeoutMs = 2000;

}

SingleWindow::SingleWindow(const QString &home, QObject *parent)
    : QObject(parent)
    , m_name(ServerName(home))
{
}

QString SingleWindow::ServerName(const QString &home)
{
    // The same folder reached by another path is the same folder; the
    // user's number keeps two users' windows apart.
    const QString canonical = QFileInfo(home).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir(home).absolutePath() : canonical).toUtf8();
    const QString name = QStringLiteral("picaroon-%1-%2")
                             .arg(::getuid())
                             .arg(QString::fromLatin1(
                                 QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24)));
    // In the user's private runtime folder, where no one else can put a
    // socket of that name first.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

bool SingleWindow::CallRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    // Being let in is the call: the first window comes to the front when
    // it takes the connection.
    return socket.waitForConnected(AnswerTimeoutMs);
}

bool SingleWindow::Listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A name left by a window that ended without closing answers nobody:
    // CallRunning found no one there.
    if (!m_server->listen(m_name) && !(QLocalServer::removeServer(m_name) && m_server->listen(m_name)))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *caller = m_server->nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            caller->disconnectFromServer();
        }
        emit Called();
    });
    return true;
}
