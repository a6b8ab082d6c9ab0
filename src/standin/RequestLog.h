#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The stand-in's line per request on standard error. Whatever the client
// sent is shown with its control and non-ASCII bytes as \xNN, so that no
// request can end a line early, write one of its own or drive a terminal.
namespace RequestLog {

// Longer client texts are cut, marked by "...".
inline constexpr qsizetype MaxShown = 512;

QByteArray Printable(QByteArrayView text);
QByteArray Line(QByteArrayView method, QByteArrayView path, QByteArrayView outcome, qint64 bytesIn, qint64 bytesOut);

}
