#pragma once

#include "standin/HttpRequest.h"

class QIODevice;

// Takes a request off a socket in whatever pieces it arrives: the head up to
// its blank line, and then, only once the caller has judged the head and
// asked for it, exactly Content-Length body bytes into a buffer sized once,
// so a large upload is copied once and never regrown.
class RequestReader
{
public:
    enum class State { Head, HeadDone, Body, Complete, Failed };

    static constexpr qsizetype MaxHeadSize = 64 * 1024;

    void ReadFrom(QIODevice &device);
    State GetState() const { return m_state; }
    const HttpRequest &Request() const { return m_request; }
    // Once the head is in: the body's length as the head declares it.
    qint64 BodyLength() const { return m_bodyLength; }
    void StartBody();
    void DropBody();
    qint64 BytesTaken() const { return m_taken; }
    // For a failed request: the status to answer with and why.
    int FailStatus() const { return m_failStatus; }
    const QByteArray &FailReason() const { return m_failReason; }

private:
    void ReadHead(QIODevice &device);
    void ReadBody(QIODevice &device);
    bool ParseHead(QByteArrayView head);
    bool ParseLength();
    void Fail(int status, const QByteArray &reason);

    State m_state = State::Head;
    HttpRequest m_request;
    // The head while it comes in; after it, whatever came with it.
    QByteArray m_head;
    qint64 m_bodyLength = 0;
    qint64 m_bodyFilled = 0;
    qint64 m_taken = 0;
    int m_failStatus = 0;
    QByteArray m_failReason;
};
