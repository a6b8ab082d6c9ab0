#include "cli/ServiceOptions.h"

#include "settings/ProgramSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace {

struct Option
{
    SettingKey key;
    const char *name;
    // Null for a switch, given alone: it sets the setting to true.
    const char *valueName;
    const char *description;
};

const Option Options[] = {
    {SettingKey::UploadHost, "host", "HOST[:PORT]",
     QT_TRANSLATE_NOOP("ServiceOptions", "The upload host, for this run.")},
    {SettingKey::ImageHost, "image-host", "HOST",
     QT_TRANSLATE_NOOP("ServiceOptions", "The host that serves the pictures, for this run.")},
    {SettingKey::Account, "account", "N",
     QT_TRANSLATE_NOOP("ServiceOptions", "The account number whose pictures the link tools pick out, for this run.")},
    {SettingKey::Timeout, "timeout", "SECONDS",
     QT_TRANSLATE_NOOP("ServiceOptions",
                       "Seconds without a byte moving before a run gives up (0: wait for ever), for this run.")},
    {SettingKey::RetryFor, "retry-for", "SECONDS",
     QT_TRANSLATE_NOOP("ServiceOptions",
                       "Seconds a run waits out a network that is down, trying the same picture "
                       "again (0: the first error ends the run), for this run.")},
    {SettingKey::Connections, "connections", "N",
     QT_TRANSLATE_NOOP("ServiceOptions",
                       "Pictures sent at once, each on a connection of its own, 1 to 8, for this run.")},
    {SettingKey::MaxSide, "max-side", "PIXELS",
     QT_TRANSLATE_NOOP("ServiceOptions",
                       "Shrinks a picture whose longer side is larger to this many pixels (0: never), "
                       "for this run.")},
    {SettingKey::Quality, "quality", "N",
     QT_TRANSLATE_NOOP("ServiceOptions", "The JPEG quality of a shrunk picture, 1 to 100, for this run.")},
    {SettingKey::KeepLocation, "keep-location", nullptr,
     QT_TRANSLATE_NOOP("ServiceOptions", "Sends the pictures with the place they were taken at, for this run.")},
};

const Option &Of(SettingKey key)
{
    return *std::find_if(std::begin(Options), std::end(Options), [key](const Option &o) { return o.key == key; });
}

}

namespace ServiceOptions {

QString Name(SettingKey key)
{
    return QLatin1String(Of(key).name);
}

void Add(QCommandLineParser &parser, const QList<SettingKey> &keys)
{
    for (SettingKey key : keys) {
        const Option &option = Of(key);
        const QString description = QCoreApplication::translate("ServiceOptions", option.description);
        if (option.valueName)
            parser.addOption({QLatin1String(option.name), description, QLatin1String(option.valueName)});
        else
            parser.addOption({QLatin1String(option.name), description});
    }
}

bool IsSet(const QCommandLineParser &parser, SettingKey key)
{
    return parser.isSet(Name(key));
}

QString Value(const QCommandLineParser &parser, SettingKey key)
{
    if (!Of(key).valueName)
        return parser.isSet(Name(key)) ? QStringLiteral("true") : QString();
    return parser.value(Name(key));
}

QString Problem(const QCommandLineParser &parser, SettingKey key)
{
    if (!IsSet(parser, key))
        return QString();
    const QString problem = ProgramSettings::Check(key, Value(parser, key));
    return problem.isEmpty() ? QString() : QStringLiteral("--%1: %2").arg(Name(key), problem);
}

}
