#include "settings/HostAddress.h"

#include <QHostAddress>
#include <QUrl>
#include <QStringList>
#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr qsizetype LongestName = 253;
constexpr qsizetype LongestLabel = 63;
// The system's own limit for an interface name, its closing zero aside.
constexpr qsizetype LongestInterface = 15;

bool IsNameCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-';
}

bool IsDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Whatever the source, such a character would end up in the request's
// Host header, where a line break starts a header of its own.
bool IsUnfit(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c.isSurrogate();
}

bool IsInterfaceName(const QString &zone)
{
    return !zone.isEmpty() && zone.size() <= LongestInterface
        && std::all_of(zone.cbegin(), zone.cend(), [](QChar c) { return IsNameCharacter(c) || c == u'_' || c == u'.'; });
}

}

QString HostAddress::NameProblem(const QString &name)
{
    if (name.isEmpty())
        return QCoreApplication::translate("HostAddress", "no host name given");
    if (name.size() > LongestName)
        return QCoreApplication::translate("HostAddress", "the host name is longer than %1 characters")
            .arg(LongestName);
    const QStringList labels = name.split(QLatin1Char('.'));
    // No top-level domain is all digits, so such a name can only be meant
    // as an IPv4 address, and a wrong one must not be looked up as a name.
    if (IsDigits(labels.last())) {
        QHostAddress address;
        if (!address.setAddress(name) || address.protocol() != QAbstractSocket::IPv4Protocol
            || labels.size() != 4) {
            return QCoreApplication::translate("HostAddress", "“%1” is not an IPv4 address").arg(name);
        }
        return QString();
    }
    for (const QString &label : labels) {
        if (label.isEmpty())
            return QCoreApplication::translate("HostAddress", "the host name “%1” has an empty part between dots")
                .arg(name);
        if (!std::all_of(label.cbegin(), label.cend(), IsNameCharacter))
            return QCoreApplication::translate(
                       "HostAddress", "the host name “%1” may hold only Latin letters, digits, hyphens and dots")
                .arg(name);
        if (label.size() > LongestLabel)
            return QCoreApplication::translate("HostAddress", "a part of the host name is longer than %1 characters")
                .arg(LongestLabel);
        if (label.startsWith(QLatin1Char('-')) || label.endsWith(QLatin1Char('-')))
            return QCoreApplication::translate("HostAddress", "the host name part “%1” begins or ends with a hyphen")
                .arg(label);
    }
    return QString();
}

QString HostAddress::Rewritten(const QString &text)
{
    QString address = text;
    if (text.contains(QStringLiteral("://"))) {
        const QUrl url(text, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
            return text;
        address = url.host().contains(QLatin1Char(':')) ? QLatin1Char('[') + url.host() + QLatin1Char(']') : url.host();
        if (url.port() > 0)
            address += QLatin1Char(':') + QString::number(url.port());
    }
    if (address.startsWith(QLatin1Char('[')))
        return address;
    const QString name = address.section(QLatin1Char(':'), 0, 0);
    const bool ascii = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    const QByteArray ace = ascii ? QByteArray() : QUrl::toAce(name);
    if (!ace.isEmpty())
        address.replace(0, name.size(), QString::fromLatin1(ace));
    return address;
}

bool HostAddress::Parse(const QString &given, bool portAllowed, HostAddress *address, QString *problem)
{
    if (std::any_of(given.cbegin(), given.cend(), IsUnfit)) {
        *problem = QCoreApplication::translate("HostAddress",
                                               "a host address cannot hold spaces, line breaks or control characters");
        return false;
    }
    const QString text = Rewritten(given);
    if (text.contains(QStringLiteral("://"))) {
        *problem = QCoreApplication::translate("HostAddress",
                                               "only the host name and port are wanted, without “http://” and a path");
        return false;
    }
    QString host = text;
    QString portText;
    bool hasPort = false;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0) {
            *problem = QCoreApplication::translate("HostAddress", "the IPv6 address has no closing bracket “]”");
            return false;
        }
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':'))) {
            *problem = QCoreApplication::translate("HostAddress", "only “:” and a port may follow “]”");
            return false;
        }
        hasPort = !rest.isEmpty();
        portText = rest.mid(1);
        QHostAddress parsed;
        if (!parsed.setAddress(host) || parsed.protocol() != QAbstractSocket::IPv6Protocol) {
            *problem = QCoreApplication::translate("HostAddress", "“%1” is not an IPv6 address").arg(host);
            return false;
        }
        const qsizetype zone = host.indexOf(QLatin1Char('%'));
        if (zone >= 0 && !IsInterfaceName(host.mid(zone + 1))) {
            *problem = QCoreApplication::translate("HostAddress",
                                                   "only a network interface's name (up to %1 Latin letters, "
                                                   "digits, “-”, “_” and “.”) may follow “%” in an IPv6 address")
                           .arg(LongestInterface);
            return false;
        }
    } else {
        const qsizetype colons = text.count(QLatin1Char(':'));
        if (colons > 1) {
            *problem = QCoreApplication::translate("HostAddress", "an IPv6 address is written in square brackets: [%1]")
                           .arg(text);
            return false;
        }
        if (colons == 1) {
            host = text.section(QLatin1Char(':'), 0, 0);
            portText = text.section(QLatin1Char(':'), 1);
            hasPort = true;
        }
        const QString why = NameProblem(host);
        if (!why.isEmpty()) {
            *problem = why;
            return false;
        }
    }
    quint16 port = DefaultPort;
    if (hasPort) {
        if (!portAllowed) {
            *problem = QCoreApplication::translate("HostAddress", "a host name without a port is wanted here");
            return false;
        }
        bool ok = IsDigits(portText);
        const uint number = ok ? portText.toUInt(&ok) : 0;
        if (!ok || number < 1 || number > 65535) {
            *problem = QCoreApplication::translate("HostAddress", "the port is a number from 1 to 65535, not “%1”")
                           .arg(portText);
            return false;
        }
        port = quint16(number);
    }
    address->m_host = host;
    address->m_port = port;
    return true;
}

QString HostAddress::HostHeader() const
{
    const QString name = m_host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_host + QLatin1Char(']') : m_host;
    return m_port == DefaultPort ? name : name + QLatin1Char(':') + QString::number(m_port);
}
