#include "standin/PhotoLibraryPage.h"

#include "text/Cp1251.h"

namespace {

const QString FriendDir = QStringLiteral("/userdir/1/7/3/5/173590/");
const QString FriendPicture = QStringLiteral("000001.jpg");

}

PhotoLibraryPage::PhotoLibraryPage(const QString &imageHost)
    : m_imageHost(imageHost)
{
}

QString PhotoLibraryPage::Entry(const QString &dir, const QString &picture) const
{
    const QString base = QStringLiteral("http://") + m_imageHost + dir;
    return QStringLiteral("<td><a href='%1%2' target='_blank'><img src='%1%3%2' border='0' alt=''></a><br>\r\n"
                          "<a class=\"other\"></a><span><a href='%1%2' target='_blank'>%2</a></span></td>\r\n")
        .arg(base, picture, QLatin1String(ThumbDir));
}

QByteArray PhotoLibraryPage::Render(const QStringList &pictures) const
{
    QString page = QStringLiteral(
        "<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
        "<title>Фотоальбом</title>\r\n</head>\r\n<body>\r\n"
        "<a href=\"/\">Главная</a> | <a href=\"/kiplog.php?module=photolib\">Добавить фото</a>\r\n"
        "<h1>Фотоальбом</h1>\r\n<p>Картинок: %1</p>\r\n<table class=\"photolib\">\r\n")
        .arg(pictures.size());
    for (const QString &picture : pictures)
        page += QStringLiteral("<tr>") + Entry(QLatin1String(AccountDir), picture) + QStringLiteral("</tr>\r\n");
    page += QStringLiteral("</table>\r\n<h2>Фото друзей</h2>\r\n<table>\r\n<tr>")
        + Entry(FriendDir, FriendPicture)
        + QStringLiteral("</tr>\r\n</table>\r\n</body>\r\n</html>\r\n");
    return Cp1251::FromUnicode(page);
}
