#pragma once

#include "cli/Command.h"

#include <QCoreApplication>

// `picaroon upload`: the window's upload run without a window. Every status
// text goes to standard output, one per line; the outcome is the exit status.
class UploadCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("upload"); }
    QString Usage() const override
    {
        return QStringLiteral("picaroon upload [--login LOGIN] [--home DIR] [--host HOST[:PORT]] [--timeout SECONDS]"
                              " [--retry-for SECONDS] [--connections N]"
                              " [--max-side PIXELS] [--quality N] [--keep-location]");
    }
    QString Purpose() const override
    {
        return QCoreApplication::translate(
            "UploadCommand",
            "Uploads every picture of the image folder, one after another, and prints every status text.\n"
            "The password comes from PICAROON_PASSWORD, else it is asked for when standard input is a\n"
            "terminal, else it is the first line of standard input.");
    }

protected:
    QList<SettingKey> Settings() const override
    {
        return {SettingKey::UploadHost, SettingKey::Timeout, SettingKey::RetryFor,    SettingKey::Connections,
                SettingKey::MaxSide,    SettingKey::Quality, SettingKey::KeepLocation};
    }
    void AddOptions(QCommandLineParser &parser) const override;
    QString UsageProblem(const QCommandLineParser &parser, const ProgramSettings *settings) const override;
    int Run(const Context &context) override;
};
