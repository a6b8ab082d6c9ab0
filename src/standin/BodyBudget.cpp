#include "standin/BodyBudget.h"

BodyBudget::BodyBudget(qint64 limit)
    : m_limit(limit)
{
}

bool BodyBudget::Take(qint64 bytes)
{
    if (bytes < 0 || bytes > m_limit - m_inUse)
        return false;
    m_inUse += bytes;
    return true;
}

void BodyBudget::Give(qint64 bytes)
{
    m_inUse = qMax<qint64>(0, m_inUse - bytes);
}
