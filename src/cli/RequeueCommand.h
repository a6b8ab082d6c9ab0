#pragma once

#include <QStringList>

// `picaroon requeue`: every set-aside picture back into the queue, so that
// the next upload sends it.
class RequeueCommand
{
public:
    static int Run(const QStringList &arguments);
};
