#pragma once

#include "linktools/LinkExtractor.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Turns the addresses in url.txt into post records for base_url.txt: the
// thumbnail shown, the full picture behind it, then the terminator. Works on
// the files' bytes, so whatever a line holds goes back out unchanged.
class PostMarkup
{
public:
    static QString PostFilePath(const QString &home);

    // The record for one line of url.txt, terminator included. The
    // thumbnail's address has "thumb/" after every "ACCOUNT/".
    static QByteArray Record(QByteArrayView line,
                             const QString &account = QString::fromLatin1(LinkExtractor::DefaultAccount));
    // Streams url.txt in home into records appended to base_url.txt, all or
    // nothing, in memory bounded by the longest line. When url.txt cannot
    // be opened, base_url.txt is left untouched; so it is when stopped()
    // holds before the run's end.
    static bool MakePosts(const QString &home, const QString &account, qint64 *count, QString *error,
                          const std::function<bool()> &stopped = {});
};
