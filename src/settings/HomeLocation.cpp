#include "settings/HomeLocation.h"

#include "config/BuildSettings.h"
#include "folder/FileOps.h"
#include "folder/NativeName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QCoreApplication>

#include <pwd.h>
#include <unistd.h>

namespace HomeLocation {

bool IsInstalled(const QString &programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(QString::fromLatin1(BuildSettings::InstalledDesktopEntry))).isFile();
}

QString UserDataFolder()
{
    return UserFolder(QStandardPaths::AppDataLocation, "XDG_DATA_HOME");
}

QStringList SettleEnvironment()
{
    QStringList notices;
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QByteArray value = qgetenv(name);
        if (value.isEmpty() || value.startsWith('/'))
            continue;
        notices.append(QCoreApplication::translate(
                           "HomeLocation", "%1 is not an absolute path (%2): it is ignored, as the XDG rules say")
                           .arg(QLatin1String(name), NativeName::Decode(value)));
        qunsetenv(name);
    }
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return notices;
    const QString unset = home.isEmpty()
                              ? QCoreApplication::translate("HomeLocation", "HOME is not set")
                              : QCoreApplication::translate("HomeLocation", "HOME is not an absolute path (%1)")
                                    .arg(NativeName::Decode(home));
    const struct passwd *entry = ::getpwuid(::getuid());
    if (entry && entry->pw_dir && entry->pw_dir[0] == '/') {
        qputenv("HOME", entry->pw_dir);
        notices.append(
            QCoreApplication::translate("HomeLocation", "%1: the home folder of the password database, %2, is used")
                .arg(unset, NativeName::Decode(entry->pw_dir)));
    } else {
        qunsetenv("HOME");
        notices.append(NoHomeText());
    }
    return notices;
}

QString UserHome()
{
    const QByteArray home = qgetenv("HOME");
    return home.startsWith('/') ? NativeName::Decode(home) : QString();
}

QString UserFolder(QStandardPaths::StandardLocation location, const char *variable)
{
    // Without a home Qt would take "/" for one.
    if (UserHome().isEmpty() && !qgetenv(variable).startsWith('/'))
        return QString();
    return QStandardPaths::writableLocation(location);
}

QString NoHomeText()
{
    return QCoreApplication::translate("HomeLocation",
                                       "HOME is not set, and the password database names no home folder for this user");
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
    if (choice.kind == Kind::UserData && choice.folder.isEmpty()) {
        *error = QCoreApplication::translate("HomeLocation", "%1: give the folder with --home DIR").arg(NoHomeText());
        return false;
    }
    return choice.kind != Kind::UserData || FileOps::CreatePath(choice.folder, error);
}

}
