#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/StandardOutput.h"
#include "config/BuildSettings.h"
#include "folder/NativeName.h"
#include "programs/AllocatorTuning.h"
#include "settings/HomeLocation.h"
#include "text/ProgramLanguage.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// The window is a program of its own, beside this one in the build and in
// the library's program folder when installed: the commands, run by
// scripts hundreds of times, then load none of the display's libraries.
int StartWindow(char *argv[])
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, size_t(length)) : std::string(argv[0]);
    folder = folder.substr(0, folder.rfind('/') + 1);
    int error = ENOENT;
    for (const std::string &path : {folder + "picaroon-window", folder + PICAROON_WINDOW_FROM_BIN "/picaroon-window"}) {
        execv(path.c_str(), argv);
        if (errno != ENOENT)
            error = errno;
    }
    std::fprintf(stderr, "picaroon: cannot start the window (picaroon-window): %s\n", std::strerror(error));
    return ExitStatus::Unexpected;
}
}

int main(int argc, char *argv[])
{
    if (argc < 2 || !CommandRegistry().IsCommand(QString::fromLocal8Bit(argv[1])))
        return StartWindow(argv);
    AllocatorTuning::Apply();
    // Before anything, Qt included, reads the folders from the environment.
    const QStringList notices = HomeLocation::SettleEnvironment();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(BuildSettings::ApplicationName));
    ProgramLanguage::Use(ProgramLanguage::OfLocale(QLocale::system()));
    // A folder named in bytes that are not valid text must still be found.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(NativeName::Decode(QByteArray(argv[i])));
    StandardOutput out;
    for (const QString &notice : notices)
        out.Error(QStringLiteral("picaroon: ") + notice);
    return CommandRegistry().Run(arguments, out);
}
