#include "standin/ServicePages.h"

#include "text/Cp1251.h"

namespace {

QByteArray Page(const QString &text)
{
    return Cp1251::FromUnicode(
        QStringLiteral("<html>\r\n<head>\r\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
                       "<title>Фотоальбом</title>\r\n</head>\r\n<body>\r\n<p>%1</p>\r\n"
                       "<a href=\"/\">Фотоальбом</a>\r\n</body>\r\n</html>\r\n")
            .arg(text));
}

}

namespace ServicePages {

QByteArray Accepted()
{
    return Page(QStringLiteral("Изображение добавлено"));
}

QByteArray Refused()
{
    return Page(QStringLiteral("Доступ запрещен"));
}

QByteArray Problem(const QByteArray &reason)
{
    return Page(QStringLiteral("Ошибка: ") + QString::fromLatin1(reason).toHtmlEscaped());
}

}
