#pragma once

#include "cli/Command.h"

#include <QCoreApplication>

// `picaroon extract-links < page.html`: "Parse clipboard" without a window.
class ExtractLinksCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("extract-links"); }
    QString Usage() const override
    {
        return QStringLiteral("picaroon extract-links [--home DIR] [--image-host HOST] [--account N] < page.html");
    }
    QString Purpose() const override
    {
        return QCoreApplication::translate(
            "ExtractLinksCommand",
            "Appends the account's picture addresses in the photo-library page markup (UTF-8, read from\n"
            "standard input) to url.txt.");
    }

protected:
    QList<SettingKey> Settings() const override { return {SettingKey::ImageHost, SettingKey::Account}; }
    int Run(const Context &context) override;
};
