#pragma once

#include <QStandardPaths>
#include <QString>
#include <QStringList>

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
// QStandardPaths' application data folder, ~/.local/share/picaroon by
// default; empty without a home folder.
QString UserDataFolder();

// Settles HOME and the XDG_* folders before anything reads them, as the XDG
// rules say: a relative XDG_* value is ignored, so that its default
// applies, and an unset or relative HOME is taken from the password
// database. What it changed, in the member's words, for the program to say.
QStringList SettleEnvironment();
// HOME when it is absolute; empty when there is none.
QString UserHome();
// QStandardPaths' folder for location, whose own variable is variable;
// empty when it would lie in a home folder there is none of, so that
// nothing is ever made at "/".
QString UserFolder(QStandardPaths::StandardLocation location, const char *variable);
// Why there is no home folder.
QString NoHomeText();
// Makes the user's data folder, and those above it, when it is the choice.
bool Prepare(const Choice &choice, QString *error);

}
