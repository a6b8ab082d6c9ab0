#include "settings/SettingTable.h"

#include "config/BuildSettings.h"
#include "settings/HostAddress.h"

#include <QCoreApplication>

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
        return QCoreApplication::translate("SettingTable",
                                           "the account number is a whole number above zero, digits only, not “%1”")
            .arg(text);
    if (text.size() > LongestAccount)
        return QCoreApplication::translate("SettingTable", "the account number is longer than %1 digits")
            .arg(LongestAccount);
    return QString();
}

// A count of seconds; zero: what 0 means for this setting.
QString SecondsProblem(const QString &text, const char *what, const char *zero)
{
    if (!IsDigits(text) || text.size() > 10 || text.toLongLong() > LongestSeconds)
        return QCoreApplication::translate("SettingTable", "%1 is a number of seconds from 0 to %2 (0: %3), not “%4”")
            .arg(QCoreApplication::translate("SettingTable", what))
            .arg(LongestSeconds)
            .arg(QCoreApplication::translate("SettingTable", zero), text);
    return QString();
}

QString TimeoutProblem(const QString &text)
{
    return SecondsProblem(text, QT_TRANSLATE_NOOP("SettingTable", "the timeout"),
                          QT_TRANSLATE_NOOP("SettingTable", "wait without end"));
}

QString RetryForProblem(const QString &text)
{
    return SecondsProblem(text, QT_TRANSLATE_NOOP("SettingTable", "the retry time"),
                          QT_TRANSLATE_NOOP("SettingTable", "no retries"));
}

// A whole number in a range, for the pictures' settings.
QString NumberProblem(const QString &text, int lowest, int highest, const char *what)
{
    if (IsDigits(text) && text.size() <= 6 && text.toInt() >= lowest && text.toInt() <= highest)
        return QString();
    return QCoreApplication::translate("SettingTable", "%1 is a whole number from %2 to %3, not “%4”")
        .arg(QCoreApplication::translate("SettingTable", what))
        .arg(lowest)
        .arg(highest)
        .arg(text);
}

QString MaxSideProblem(const QString &text)
{
    return NumberProblem(text, 0, SettingDefaults::LongestMaxSide,
                         QT_TRANSLATE_NOOP("SettingTable", "the longest side in pixels"));
}

QString QualityProblem(const QString &text)
{
    return NumberProblem(text, 1, 100, QT_TRANSLATE_NOOP("SettingTable", "the JPEG quality"));
}

QString ConnectionsProblem(const QString &text)
{
    return NumberProblem(text, 1, SettingDefaults::MostConnections,
                         QT_TRANSLATE_NOOP("SettingTable", "the pictures sent at once"));
}

QString SwitchProblem(const QString &text)
{
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return QString();
    return QCoreApplication::translate("SettingTable", "“true” or “false”, not “%1”").arg(text);
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

// Where a photo was taken is kept out of a public blog unless asked for.
QString KeepLocationDefault() { return QStringLiteral("false"); }

// One picture at a time, as the service has always been sent them.
QString ConnectionsDefault() { return QStringLiteral("1"); }

QString MaxSideDefault() { return QStringLiteral("0"); }

QString QualityDefault() { return QString::number(SettingDefaults::Quality); }

const SettingRow Rows[] = {
    {SettingKey::UploadHost, "service/uploadHost", UploadHostDefault, HostProblem},
    {SettingKey::ImageHost, "service/imageHost", ImageHostDefault, HostProblem},
    {SettingKey::Account, "links/account", AccountDefault, AccountProblem},
    {SettingKey::Timeout, "upload/timeout", TimeoutDefault, TimeoutProblem},
    {SettingKey::RetryFor, "upload/retryFor", RetryForDefault, RetryForProblem},
    {SettingKey::Connections, "upload/connections", ConnectionsDefault, ConnectionsProblem},
    {SettingKey::KeepLocation, "pictures/keepLocation", KeepLocationDefault, SwitchProblem},
    {SettingKey::MaxSide, "pictures/maxSide", MaxSideDefault, MaxSideProblem},
    {SettingKey::Quality, "pictures/quality", QualityDefault, QualityProblem},
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
