#pragma once

#include <QString>

// The status texts of a run. Scripts and members read them, so each stays
// exactly as it is.
namespace StatusText {

QString Connecting();
QString Counter(qint64 number, qint64 total);
QString CounterWithPercent(qint64 number, qint64 total, int percent);
QString LoadData(qint64 bytes);
QString Accepted();
QString Failed();
QString Refused();
QString Done();
QString Stopped();
QString SocketError(int number);
// The network is down: the same picture is tried again in seconds.
QString NoConnection(int number, int seconds);

}
