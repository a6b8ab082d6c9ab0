#pragma once

#include <QStringList>

// `picaroon import FOLDER`: the window's import without a window. Prints the
// status texts the window shows, one per line; the outcome is the exit status.
class ImportCommand
{
public:
    static int Run(const QStringList &arguments);
};
