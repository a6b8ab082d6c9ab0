#pragma once

#include <QByteArray>
#include <QString>

// The one member the stand-in knows. The cookie is judged as the service's
// scripting layer sees it: values URL-decoded, the login compared as
// Windows-1251 bytes, the password only by its digest.
class StandinAccount
{
public:
    StandinAccount(const QString &login, const QString &password);

    bool IsValid() const { return !m_passDigest.isEmpty(); }
    bool Admits(QByteArrayView cookieHeader) const;

    static QByteArray CookieValue(QByteArrayView cookieHeader, QByteArrayView name);
    static QByteArray UrlDecode(QByteArrayView text);

private:
    QByteArray m_login;
    QByteArray m_passDigest;
};
