#pragma once

#include <QStringList>

// `picaroon make-posts`: one record per line of url.txt, appended to
// base_url.txt; prints how many.
class MakePostsCommand
{
public:
    static int Run(const QStringList &arguments);
};
