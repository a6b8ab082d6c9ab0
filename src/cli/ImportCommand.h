#pragma once

#include "cli/Command.h"

#include <QCoreApplication>

// `picaroon import FOLDER`: the window's import without a window. Prints the
// status texts the window shows, one per line; the outcome is the exit status.
class ImportCommand : public Command
{
public:
    QString Name() const override { return QStringLiteral("import"); }
    QString Usage() const override { return QStringLiteral("picaroon import FOLDER [--home DIR]"); }
    QString Purpose() const override
    {
        return QCoreApplication::translate(
            "ImportCommand", "Copies the *.jpg and *.jpeg pictures of FOLDER into the image folder; a queued picture\n"
                             "is never replaced.");
    }

protected:
    void AddOptions(QCommandLineParser &parser) const override;
    qsizetype MaxArguments() const override { return 1; }
    QString UsageProblem(const QCommandLineParser &parser, const ProgramSettings *settings) const override;
    int Run(const Context &context) override;
};
