#include "settings/SettingTable.h"

#include "config/BuildSettings.h"
#include "settings/HostAddress.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr qsizetype LongestAccount = 18;
constexpr long long LongestSeconds = 2000000;

bool IsDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString HostProblem(const QString &text)
{
    HostAddress address;
    QString problem;
    HostAddress::Parse(text, true, &address, &problem);
    return problem;
}

QString AccountProblem(const QString &text)
{
    if (!IsDigits(text) || text.startsWith(QLatin1Char('0')))
        return QStringLiteral("номер учётной записи — целое число больше нуля, одни цифры, а не «%1»").arg(text);
    if (text.size() > LongestAccount)
        return QStringLiteral("номер учётной записи длиннее %1 цифр").arg(LongestAccount);
    return QString();
}

// A count of seconds; zero: what 0 means for this setting.
QString SecondsProblem(const QString &text, const char *what, const char *zero)
{
    if (!IsDigits(text) || text.size() > 10 || text.toLongLong() > LongestSeconds)
        return QStringLiteral("%1 — число секунд от 0 до %2 (0 — %3), а не «%4»")
            .arg(QString::fromUtf8(what))
            .arg(LongestSeconds)
            .arg(QString::fromUtf8(zero), text);
    return QString();
}

QString TimeoutProblem(const QString &text)
{
    return SecondsProblem(text, "тайм-аут", "ждать без конца");
}

QString RetryForProblem(const QString &text)
{
    return SecondsProblem(text, "время повторов", "не повторять");
}

QString UploadHostDefault()
{
    return QString::fromLatin1(BuildSettings::UploadHost);
}

QString ImageHostDefault()
{
    return QString::fromLatin1(BuildSettings::ImageHost);
}

QString AccountDefault()
{
    return QString::fromLatin1(SettingDefaults::Account);
}

QString TimeoutDefault()
{
    return QString::number(SettingDefaults::TimeoutSeconds);
}

QString RetryForDefault()
{
    return QString::number(SettingDefaults::RetryForSeconds);
}

const SettingRow Rows[] = {
    {SettingKey::UploadHost, "service/uploadHost", UploadHostDefault, HostProblem},
    {SettingKey::ImageHost, "service/imageHost", ImageHostDefault, HostProblem},
    {SettingKey::Account, "links/account", AccountDefault, AccountProblem},
    {SettingKey::Timeout, "upload/timeout", TimeoutDefault, TimeoutProblem},
    {SettingKey::RetryFor, "upload/retryFor", RetryForDefault, RetryForProblem},
    {SettingKey::LastLogin, "upload/lastLogin", nullptr, nullptr},
    {SettingKey::WindowPosition, "window/position", nullptr, nullptr},
    {SettingKey::LastImportFolder, "import/lastFolder", nullptr, nullptr},
};

}

namespace SettingTable {

const SettingRow &Row(SettingKey key)
{
    return *std::find_if(std::begin(Rows), std::end(Rows), [key](const SettingRow &row) { return row.key == key; });
}

QList<SettingKey> CheckedKeys()
{
    QList<SettingKey> keys;
    for (const SettingRow &row : Rows) {
        if (row.check)
            keys.append(row.key);
    }
    return keys;
}

QString Default(SettingKey key)
{
    const SettingRow &row = Row(key);
    return row.defaultValue ? row.defaultValue() : QString();
}

QString Check(SettingKey key, const QString &text)
{
    const SettingRow &row = Row(key);
    return row.check ? row.check(text) : QString();
}

}
