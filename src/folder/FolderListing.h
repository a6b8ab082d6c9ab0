#pragma once

#include <QString>
#include <QStringList>

class NameFilter;

// The names directly in one folder that pass a filter, in the order the
// member sees them: letter case ignored, then as bytes.
namespace FolderListing {

enum class Kind {
    // Anything but a folder, links followed or not: a picture that cannot
    // be sent (a named pipe, a dangling link) is then passed over by name
    // in a run, rather than missing without a word.
    AllButFolders,
    // Plain files only, links followed: what can be copied.
    PlainFiles,
};

// False with *cause (an errno) when the folder could not be read whole.
bool Read(const QString &folder, const NameFilter &filter, Kind kind, QStringList *names, int *cause);
// Whether name in the open folder (or AT_FDCWD and a path) is of the kind.
bool IsOfKind(int folder, const char *name, Kind kind);
bool NameLess(const QString &a, const QString &b);

}
