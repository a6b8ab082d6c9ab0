#pragma once

#include <QString>

// "Error #N" in words, for the member who does not know the numbers:
// "10061: сервер отказал в соединении". Empty for a text without a number.
QString SocketErrorMeaning(const QString &statusText);
