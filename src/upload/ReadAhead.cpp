#include "upload/ReadAhead.h"

#include <utility>

void ReadAhead::UseTheWait(RequestBuilder &builder, const PicturePreparation &preparation, const QString &next,
                           const QString &login, const QString &password)
{
    m_handled.reset();
    // Several connections each make their wait count: the one read ahead
    // is read once.
    if (!next.isEmpty() && !(m_ahead.IsOpen() && m_ahead.Path() == next))
        m_ahead.BuildAhead(builder, preparation, next, login, password);
}

bool ReadAhead::Take(const QString &path, PictureRequest *request)
{
    if (m_ahead.IsOpen() && m_ahead.Path() == path) {
        *request = std::exchange(m_ahead, PictureRequest());
        return true;
    }
    m_ahead.Clear();
    return false;
}

void ReadAhead::Clear()
{
    m_ahead.Clear();
    m_handled.reset();
}
