#pragma once

#include <QByteArray>

// Judges one reply of the service by its marker texts as the bytes arrive.
// Only the markers and the size matter, so memory stays bounded however
// long the reply runs; a marker split across arrivals is still found.
class ReplyJudge
{
public:
    enum class Verdict { Accepted, Refused, Failed };

    void Clear();
    void Append(QByteArrayView bytes);
    qint64 Size() const { return m_size; }
    Verdict Judge() const;
    // Bytes kept between arrivals; bounded by the longest marker.
    qsizetype Retained() const { return m_tail.size(); }

private:
    QByteArray m_tail;
    qint64 m_size = 0;
    bool m_accepted = false;
    bool m_refused = false;
};
