#pragma once

#include <QByteArray>

struct HttpReply
{
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    // One word for the request log: stored, refused, rejected, served...
    QByteArray outcome;

    QByteArray Head() const;
};
