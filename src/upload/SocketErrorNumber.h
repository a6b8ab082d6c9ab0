#pragma once

#include <QAbstractSocket>

// The number shown after "Error #": the familiar Windows socket error
// numbers, which the service's members already know from other programs.
int SocketErrorNumber(QAbstractSocket::SocketError error);
