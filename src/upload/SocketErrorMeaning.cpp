#include "upload/SocketErrorMeaning.h"

#include <QRegularExpression>

namespace {

QString Words(int number)
{
    switch (number) {
    case 10061: return QStringLiteral("сервер отказал в соединении");
    case 10054: return QStringLiteral("сервер разорвал соединение");
    case 11001: return QStringLiteral("сервер не найден: проверьте имя сервера и связь");
    case 10013: return QStringLiteral("нет доступа к сети");
    case 10055: return QStringLiteral("системе не хватило памяти для соединения");
    case 10060: return QStringLiteral("сервер не ответил вовремя");
    case 10050: return QStringLiteral("сеть недоступна");
    case 10048: return QStringLiteral("адрес уже занят");
    case 10049: return QStringLiteral("адрес недоступен");
    default: return QStringLiteral("соединение прервано");
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
