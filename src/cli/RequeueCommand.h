#pragma once

#include "cli/Command.h"

#include <QCoreApplication>

// `picaroon requeue`: every set-aside picture back in the queue.
class RequeueCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("requeue"); }
    QString Usage() const override { return QStringLiteral("picaroon requeue [--home DIR]"); }
    QString Purpose() const override
    {
        return QCoreApplication::translate("RequeueCommand",
                                           "Returns every set-aside picture to the image folder's queue.");
    }

protected:
    int Run(const Context &context) override;
};
