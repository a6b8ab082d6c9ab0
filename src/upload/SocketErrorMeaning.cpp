#include "upload/SocketErrorMeaning.h"

#include <QRegularExpression>
#include <QCoreApplication>

namespace {

QString Words(int number)
{
    switch (number) {
    case 10061:
        return QCoreApplication::translate("SocketErrorMeaning", "the server refused the connection");
    case 10054:
        return QCoreApplication::translate("SocketErrorMeaning", "the server broke the connection off");
    case 11001:
        return QCoreApplication::translate("SocketErrorMeaning",
                                           "the server was not found: check its name and the network");
    case 10013:
        return QCoreApplication::translate("SocketErrorMeaning", "no access to the network");
    case 10055:
        return QCoreApplication::translate("SocketErrorMeaning", "the system had no memory left for the connection");
    case 10060:
        return QCoreApplication::translate("SocketErrorMeaning", "the server did not answer in time");
    case 10050:
        return QCoreApplication::translate("SocketErrorMeaning", "the network is unreachable");
    case 10048:
        return QCoreApplication::translate("SocketErrorMeaning", "the address is already in use");
    case 10049:
        return QCoreApplication::translate("SocketErrorMeaning", "the address is not available");
    default:
        return QCoreApplication::translate("SocketErrorMeaning", "the connection was lost");
    }
}

}

QString SocketErrorMeaning(const QString &statusText)
{
    static const QRegularExpression Number(QStringLiteral("Error #(\\d+)"));
    const QRegularExpressionMatch match = Number.match(statusText);
    if (!match.hasMatch())
        return QString();
    return match.captured(1) + QStringLiteral(": ") + Words(match.captured(1).toInt());
}
