#pragma once

#include <QByteArray>
#include <QFile>

#include <memory>

struct HttpReply
{
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    // One word for the request log: stored, refused, rejected, served...
    QByteArray outcome;
    // A stored picture goes out from its open file instead of the body, a
    // piece at a time, so a client that reads slowly holds no copy of it.
    std::shared_ptr<QFile> file;
    // No answer at all: the connection is kept open and silent.
    bool hold = false;

    qint64 BodySize() const { return file ? file->size() : body.size(); }
    QByteArray Head() const;
};
