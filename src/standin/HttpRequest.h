#pragma once

#include <QByteArray>
#include <QHash>

// One request as the reader saw it; header names are lowercased, since
// clients disagree on their case.
struct HttpRequest
{
    QByteArray method;
    QByteArray path;
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;

    QByteArray Header(const QByteArray &lowercaseName) const { return headers.value(lowercaseName); }
};
