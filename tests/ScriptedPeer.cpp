#include "ScriptedPeer.h"

#include "text/Cp1251.h"

#include <QTcpSocket>

#include <algorithm>

#include <sys/socket.h>

namespace {

QByteArray Page(const char16_t *words)
{
    return "<html><body><p>" + Cp1251::FromUnicode(words) + "</p></body></html>";
}

}

QByteArray ScriptedPeer::AcceptedPage() { return Page(u"Изображение добавлено"); }
QByteArray ScriptedPeer::RefusedPage() { return Page(u"Доступ запрещен"); }

ScriptedPeer::ScriptedPeer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            m_mostUnanswered = std::max(m_mostUnanswered, ++m_unanswered);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                Settle(socket);
                socket->deleteLater();
            });
        }
    });
}

void ScriptedPeer::OnReadyRead(QTcpSocket *socket)
{
    if (socket->property("done").toBool())
        return;
    const QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0 || buffer.size() < headerEnd + 4 + HeaderValue(buffer, "Content-Length").toLongLong())
        return;
    socket->setProperty("done", true);
    requests.append(buffer);
    const Step step
        = stepFor.value(PictureOf(buffer), script.value(requests.size() - 1, script.value(script.size() - 1)));
    if (holdReplies)
        m_held.append({socket, step});
    else
        Answer(socket, step);
    emit RequestReceived(int(requests.size() - 1));
}

void ScriptedPeer::AnswerHeld(qsizetype index)
{
    const auto [socket, step] = m_held.takeAt(index);
    if (socket)
        Answer(socket, step);
}

void ScriptedPeer::Settle(QTcpSocket *socket)
{
    if (!socket->property("settled").toBool()) {
        socket->setProperty("settled", true);
        --m_unanswered;
    }
}

void ScriptedPeer::Answer(QTcpSocket *socket, const Step &step)
{
    if (step.then != Then::Hold)
        Settle(socket);
    const QByteArray buffer = socket->property("buffer").toByteArray();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    switch (step.then) {
    case Then::Hold:
        return;
    case Then::Reset: {
        const linger reset {1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        socket->abort();
        return;
    }
    case Then::Echo:
        socket->write("<html><body><pre>" + buffer.left(headerEnd) + "</pre></body></html>");
        break;
    case Then::Close:
        socket->write(step.reply);
        break;
    }
    socket->disconnectFromHost();
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
    const QByteArray opening = "Content-Type: image/pjpeg\r\n\r\n";
    const qsizetype start = request.indexOf(opening) + opening.size();
    const QByteArray type = HeaderValue(request, "Content-Type");
    const QByteArray boundary = type.mid(type.indexOf("boundary=") + 9);
    return request.mid(start, request.lastIndexOf("\r\n--" + boundary + "--") - start);
}
