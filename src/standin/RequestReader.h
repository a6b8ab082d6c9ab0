#pragma once

#include "standin/HttpRequest.h"

class QIODevice;

// Takes a request off a socket in whatever pieces it arrives: the head up to
// its blank line, then exactly Content-Length body bytes into a buffer sized
// once, so a large upload is copied once and never regrown.
class RequestReader
{
public:
    enum class State { Head, Body, Complete, Failed };

    static constexpr qsizetype MaxHeadSize = 64 * 1024;
    static constexpr qint64 MaxBodySize = 512LL * 1024 * 1024;

    void ReadFrom(QIODevice &device);
    State GetState() const { return m_state; }
    const HttpRequest &Request() const { return m_request; }
    qint64 BytesTaken() const { return m_taken; }
    // For a failed request: the status to answer with and why.
    int FailStatus() const { return m_failStatus; }
    const QByteArray &FailReason() const { return m_failReason; }

private:
    void ReadHead(QIODevice &device);
    void ReadBody(QIODevice &device);
    bool ParseHead(QByteArrayView head);
    void StartBody(QByteArrayView alreadyRead);
    void Fail(int status, const QByteArray &reason);

    State m_state = State::Head;
    HttpRequest m_request;
    QByteArray m_head;
    qint64 m_bodyFilled = 0;
    qint64 m_taken = 0;
    int m_failStatus = 0;
    QByteArray m_failReason;
};
