#pragma once

#include <QByteArray>
#include <QString>

// File names as the system keeps them: bytes. A name that is not valid
// UTF-8 still has to be listed, opened, renamed and deleted under its own
// bytes, so each byte that does not decode is carried in the text as a lone
// surrogate (U+DC80 to U+DCFF) and turned back into that byte on the way
// out. Valid names come out exactly as QFile would give them.
namespace NativeName {

QString Decode(const QByteArray &bytes);
QByteArray Encode(const QString &name);
// The name with each escaped byte shown as U+FFFD: valid text, for
// matching and showing, never for finding the file again.
QString Displayable(const QString &name);
// The text on one line that no terminal takes as a command: tabs, line
// breaks and the backslash as \t, \n, \r and \\, every other control
// character (C1 included) and each byte that is not text as \xNN, one per
// byte of the name.
QString Escaped(const QString &text);

}
