#include "upload/ReplyJudge.h"

#include <algorithm>

namespace {

// "Изображение добавлено" and "Доступ запрещен" in Windows-1251.
const QByteArray AcceptedMarker = QByteArray::fromHex("c8e7eee1f0e0e6e5ede8e520e4eee1e0e2ebe5edee");
const QByteArray RefusedMarker = QByteArray::fromHex("c4eef1f2f3ef20e7e0eff0e5f9e5ed");

}

void ReplyJudge::Clear()
{
    m_tail.clear();
    m_size = 0;
    m_accepted = false;
    m_refused = false;
}

void ReplyJudge::Append(QByteArrayView bytes)
{
    m_size += bytes.size();
    const qsizetype keep = std::max(AcceptedMarker.size(), RefusedMarker.size()) - 1;
    // The kept tail is one byte short of a marker, so a marker that
    // straddles two arrivals is found and none is counted from old bytes.
    QByteArray window = m_tail;
    window += bytes;
    m_accepted = m_accepted || window.contains(AcceptedMarker);
    m_refused = m_refused || window.contains(RefusedMarker);
    m_tail = window.right(keep);
}

ReplyJudge::Verdict ReplyJudge::Judge() const
{
    if (m_refused)
        return Verdict::Refused;
    if (m_accepted)
        return Verdict::Accepted;
    return Verdict::Failed;
}
