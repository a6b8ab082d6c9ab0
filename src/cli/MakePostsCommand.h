#pragma once

#include "cli/Command.h"

#include <QCoreApplication>

// `picaroon make-posts`: "Parse file" without a window.
class MakePostsCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("make-posts"); }
    QString Usage() const override { return QStringLiteral("picaroon make-posts [--home DIR] [--account N]"); }
    QString Purpose() const override
    {
        return QCoreApplication::translate("MakePostsCommand",
                                           "Appends a post record for every line of url.txt to base_url.txt.");
    }

protected:
    QList<SettingKey> Settings() const override { return {SettingKey::Account}; }
    int Run(const Context &context) override;
};
