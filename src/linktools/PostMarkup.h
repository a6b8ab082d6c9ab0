#pragma once

#include <QByteArray>
#include <QString>

// Turns the addresses in url.txt into post records for base_url.txt: the
// thumbnail shown, the full picture behind it, then the terminator. Works on
// the files' bytes, so whatever a line holds goes back out unchanged.
class PostMarkup
{
public:
    static QString PostFilePath(const QString &home);

    // The record for one line of url.txt, terminator included.
    static QByteArray Record(QByteArrayView line);
    // Reads all of url.txt in home first: when that fails, base_url.txt is
    // left untouched. The records then go out all or nothing.
    static bool MakePosts(const QString &home, int *count, QString *error);
};
