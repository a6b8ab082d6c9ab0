#include "ScriptedPeer.h"

#include "text/Cp1251.h"

#include <QTcpSocket>

QByteArray ScriptedPeer::AcceptedPage()
{
    return "<html><body><p>" + Cp1251::FromUnicode(u"Изображение добавлено") + "</p></body></html>";
}

QByteArray ScriptedPeer::RefusedPage()
{
    return "<html><body><p>" + Cp1251::FromUnicode(u"Доступ запрещен") + "</p></body></html>";
}

ScriptedPeer::ScriptedPeer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, &ScriptedPeer::OnNewConnection);
}

bool ScriptedPeer::Listen(quint16 port)
{
    return listen(QHostAddress::LocalHost, port);
}

void ScriptedPeer::OnNewConnection()
{
    while (QTcpSocket *socket = nextPendingConnection()) {
        ++connections;
        socket->setProperty("buffer", QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void ScriptedPeer::OnReadyRead(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0 || socket->property("done").toBool())
        return;
    const qsizetype length = HeaderValue(buffer, "Content-Length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    socket->setProperty("done", true);
    requests.append(buffer);
    const Step step = script.isEmpty() ? Step{} : script.value(requests.size() - 1, script.last());
    emit RequestReceived(int(requests.size() - 1));
    switch (step.answer) {
    case Answer::Reply:
        socket->write(step.reply);
        socket->disconnectFromHost();
        break;
    case Answer::CloseSilently:
        socket->disconnectFromHost();
        break;
    case Answer::Hold:
        break;
    }
}

QByteArray ScriptedPeer::BodyOf(const QByteArray &request)
{
    return request.mid(request.indexOf("\r\n\r\n") + 4);
}

QByteArray ScriptedPeer::HeaderValue(const QByteArray &request, const QByteArray &name)
{
    const QByteArray head = request.left(request.indexOf("\r\n\r\n"));
    for (const QByteArray &line : head.split('\n')) {
        if (line.startsWith(name + ": "))
            return line.mid(name.size() + 2).trimmed();
    }
    return {};
}

QByteArray ScriptedPeer::PictureOf(const QByteArray &request)
{
    const QByteArray body = BodyOf(request);
    const QByteArray opening = "Content-Type: image/pjpeg\r\n\r\n";
    const qsizetype start = body.indexOf(opening) + opening.size();
    const qsizetype end = body.lastIndexOf("\r\n------------IueSxZI5qhfr8cpW1iNd7v--");
    return body.mid(start, end - start);
}
