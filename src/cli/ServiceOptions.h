#pragma once

#include "settings/SettingKey.h"

#include <QList>
#include <QString>

class QCommandLineParser;

// The options that stand in for a setting for one run, defined once for the
// window and every command: --host, --image-host, --account, --timeout,
// --retry-for.
namespace ServiceOptions {

QString Name(SettingKey key);
void Add(QCommandLineParser &parser, const QList<SettingKey> &keys);
// "--host: what is wrong", when the option is given and does not check.
QString Problem(const QCommandLineParser &parser, SettingKey key);
bool IsSet(const QCommandLineParser &parser, SettingKey key);
QString Value(const QCommandLineParser &parser, SettingKey key);

}
