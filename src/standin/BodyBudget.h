#pragma once

#include <QtGlobal>

// The bytes that request bodies may hold in memory at once, shared by
// every connection: a body is admitted only when its whole length fits.
class BodyBudget
{
public:
    explicit BodyBudget(qint64 limit);

    bool Take(qint64 bytes);
    void Give(qint64 bytes);
    qint64 InUse() const { return m_inUse; }

private:
    qint64 m_limit;
    qint64 m_inUse = 0;
};
