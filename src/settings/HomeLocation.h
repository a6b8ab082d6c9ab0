#pragma once

#include <QString>

// Where img/, url.txt and base_url.txt live. --home wins. A copy run from a
// folder it can write to keeps them beside itself, as it always did, so a
// copy carried on a stick takes its pictures along; an installed copy, or
// one in a folder it cannot write to, keeps them in the user's data folder.
namespace HomeLocation {

enum class Kind { Given, BesideProgram, UserData };

struct Choice
{
    QString folder;
    Kind kind = Kind::Given;
};

// given: the --home folder, empty when none was given.
Choice Choose(const QString &given, const QString &programFolder);
// Installed: the desktop entry lies where the install put it, relative to
// the program's folder.
bool IsInstalled(const QString &programFolder);
// QStandardPaths' application data folder, ~/.local/share/picaroon by default.
QString UserDataFolder();
// Makes the user's data folder, and those above it, when it is the choice.
bool Prepare(const Choice &choice, QString *error);

}
