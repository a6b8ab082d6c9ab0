#include "settings/HomeLocation.h"

#include "config/BuildSettings.h"
#include "folder/FileOps.h"
#include "folder/NativeName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace HomeLocation {

bool IsInstalled(const QString &programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(QString::fromLatin1(BuildSettings::InstalledDesktopEntry))).isFile();
}

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

Choice Choose(const QString &given, const QString &programFolder)
{
    if (!given.isEmpty())
        return {QDir(given).absolutePath(), Kind::Given};
    if (!IsInstalled(programFolder) && ::access(NativeName::Encode(programFolder).constData(), W_OK) == 0)
        return {programFolder, Kind::BesideProgram};
    return {UserDataFolder(), Kind::UserData};
}

bool Prepare(const Choice &choice, QString *error)
{
    return choice.kind != Kind::UserData || FileOps::CreatePath(choice.folder, error);
}

}
