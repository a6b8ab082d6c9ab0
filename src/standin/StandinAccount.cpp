#include "standin/StandinAccount.h"

#include "md5/clsMD5.h"
#include "text/Cp1251.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}

StandinAccount::StandinAccount(const QString &login, const QString &password)
    : m_login(Cp1251::FromUnicode(login))
{
    clsMD5 hasher;
    if (const std::optional<QString> digest = hasher.CalculateMD5(password))
        m_passDigest = digest->toLatin1();
}

bool StandinAccount::Admits(QByteArrayView cookieHeader) const
{
    if (!IsValid() || cookieHeader.isEmpty())
        return false;
    return UrlDecode(CookieValue(cookieHeader, "user_login")) == m_login
        && CookieValue(cookieHeader, "user_pass") == m_passDigest;
}

QByteArray StandinAccount::CookieValue(QByteArrayView cookieHeader, QByteArrayView name)
{
    for (QByteArrayView rest = cookieHeader; !rest.isEmpty();) {
        qsizetype end = rest.indexOf(';');
        if (end < 0)
            end = rest.size();
        const QByteArrayView pair = rest.first(end).trimmed();
        rest = rest.sliced(qMin(rest.size(), end + 1));
        const qsizetype eq = pair.indexOf('=');
        if (eq > 0 && pair.first(eq).trimmed() == name)
            return pair.sliced(eq + 1).toByteArray();
    }
    return {};
}

QByteArray StandinAccount::UrlDecode(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes += char(high * 16 + low);
                i += 2;
                continue;
            }
        }
        bytes += c == '+' ? ' ' : c;
    }
    return bytes;
}
