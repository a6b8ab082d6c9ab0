#pragma once

#include <QStringList>

// `picaroon extract-links`: the page markup comes from standard input
// instead of the clipboard; prints how many addresses went to url.txt.
class ExtractLinksCommand
{
public:
    static int Run(const QStringList &arguments);
};
