#include "standin/RequestReader.h"

#include <QIODevice>

#include <cstring>

namespace {

const QByteArray HeadEnd = QByteArrayLiteral("\r\n\r\n");

QByteArray PathOf(QByteArray target)
{
    // Proxies and some tools send the absolute form.
    if (target.startsWith("http://") || target.startsWith("https://")) {
        const qsizetype slash = target.indexOf('/', target.indexOf("//") + 2);
        target = slash < 0 ? QByteArray("/") : target.mid(slash);
    }
    const qsizetype query = target.indexOf('?');
    return query < 0 ? target : target.left(query);
}

}

void RequestReader::ReadFrom(QIODevice &device)
{
    while (device.bytesAvailable() > 0) {
        if (m_state == State::Head)
            ReadHead(device);
        else if (m_state == State::Body)
            ReadBody(device);
        else
            return;
    }
}

void RequestReader::ReadHead(QIODevice &device)
{
    const qsizetype searchFrom = qMax<qsizetype>(0, m_head.size() - (HeadEnd.size() - 1));
    const QByteArray chunk = device.read(MaxHeadSize + HeadEnd.size() - m_head.size());
    m_taken += chunk.size();
    m_head += chunk;
    const qsizetype end = m_head.indexOf(HeadEnd, searchFrom);
    if (end < 0) {
        if (m_head.size() >= MaxHeadSize + HeadEnd.size())
            Fail(400, "request head too large");
        return;
    }
    if (!ParseHead(QByteArrayView(m_head).first(end)) || !ParseLength())
        return;
    m_head.remove(0, end + HeadEnd.size());
    m_state = State::HeadDone;
}

bool RequestReader::ParseHead(QByteArrayView head)
{
    QList<QByteArrayView> lines;
    for (qsizetype from = 0; from <= head.size();) {
        qsizetype end = head.indexOf("\r\n", from);
        if (end < 0)
            end = head.size();
        lines.append(head.sliced(from, end - from));
        from = end + 2;
    }
    const QList<QByteArray> requestLine = lines.front().toByteArray().split(' ');
    if (requestLine.size() != 3 || requestLine[0].isEmpty() || !requestLine[2].startsWith("HTTP/")) {
        Fail(400, "bad request line");
        return false;
    }
    m_request.method = requestLine[0];
    m_request.path = PathOf(requestLine[1]);
    if (!m_request.path.startsWith('/')) {
        Fail(400, "bad request target");
        return false;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.first(qMax<qsizetype>(colon, 0)).toByteArray().toLower();
        if (colon <= 0 || line.contains('\n') || name.contains(' ') || name.contains('\t')) {
            Fail(400, "bad header line");
            return false;
        }
        m_request.headers.insert(name, line.sliced(colon + 1).trimmed().toByteArray());
    }
    return true;
}

bool RequestReader::ParseLength()
{
    if (m_request.headers.contains("content-length")) {
        const QByteArray text = m_request.Header("content-length");
        bool digitsOnly = !text.isEmpty() && text.size() <= 18;
        for (char c : text)
            digitsOnly = digitsOnly && c >= '0' && c <= '9';
        if (!digitsOnly) {
            Fail(400, "bad Content-Length");
            return false;
        }
        m_bodyLength = text.toLongLong();
    } else if (m_request.method == "POST") {
        Fail(400, "no Content-Length");
        return false;
    }
    return true;
}

void RequestReader::StartBody()
{
    if (m_state != State::HeadDone)
        return;
    m_request.body = QByteArray(qsizetype(m_bodyLength), Qt::Uninitialized);
    m_bodyFilled = qMin<qint64>(m_bodyLength, m_head.size());
    std::memcpy(m_request.body.data(), m_head.constData(), size_t(m_bodyFilled));
    m_head = QByteArray();
    m_state = m_bodyFilled == m_bodyLength ? State::Complete : State::Body;
}

void RequestReader::ReadBody(QIODevice &device)
{
    const qint64 got = device.read(m_request.body.data() + m_bodyFilled,
                                   m_request.body.size() - m_bodyFilled);
    if (got < 0)
        return Fail(400, "read error");
    m_taken += got;
    m_bodyFilled += got;
    if (m_bodyFilled == m_request.body.size())
        m_state = State::Complete;
}

void RequestReader::DropBody()
{
    m_request.body = QByteArray();
    m_head = QByteArray();
}

void RequestReader::Fail(int status, const QByteArray &reason)
{
    m_state = State::Failed;
    m_failStatus = status;
    m_failReason = reason;
    DropBody();
}
