#include "upload/StatusText.h"

namespace StatusText {

QString Connecting()
{
    return QStringLiteral("Соединение...");
}

QString Counter(qint64 number, qint64 total)
{
    return QStringLiteral("Закачка %1 из %2").arg(number).arg(total);
}

QString CounterWithPercent(qint64 number, qint64 total, int percent)
{
    return Counter(number, total) + QStringLiteral(" (%1%)").arg(percent);
}

QString LoadData(qint64 bytes)
{
    return QStringLiteral("Load data - %1 Kb").arg(bytes / 1024);
}

QString Accepted()
{
    return QStringLiteral("OK");
}

QString Failed()
{
    return QStringLiteral("Failed");
}

QString Refused()
{
    return QStringLiteral("Неверное имя или пароль");
}

QString Done()
{
    return QStringLiteral("Готово");
}

QString Stopped()
{
    return QStringLiteral("Остановлено");
}

QString SocketError(int number)
{
    return QStringLiteral("Error #%1").arg(number);
}

QString NoConnection(int number, int seconds)
{
    return QStringLiteral("Нет связи (%1), повтор через %2 с").arg(SocketError(number)).arg(seconds);
}

}
