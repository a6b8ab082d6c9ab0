#pragma once

#include "settings/SettingKey.h"

#include <QList>
#include <QString>

// Where each setting is kept in the file, its build's value and its check:
// one row per key, so that adding a setting is one line here.
struct SettingRow
{
    SettingKey key;
    const char *name;
    // Typed by the member, checked, and with a build's value; null for
    // what the window keeps for itself.
    QString (*defaultValue)();
    // What is wrong with a typed text, in the member's words; empty when fine.
    QString (*check)(const QString &text);
};

namespace SettingTable {

const SettingRow &Row(SettingKey key);
QList<SettingKey> CheckedKeys();
// The build's value of a checked key.
QString Default(SettingKey key);
// What is wrong with a typed text, in the member's words; empty when fine.
QString Check(SettingKey key, const QString &text);

}
