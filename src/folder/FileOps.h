#pragma once

#include <QString>

#include <functional>

// The file-system operations of the image folder, as the window and the
// headless commands call them. Each failure comes back as a message that
// names the file and the cause in the system's own words; files are opened
// through PlainFile and named through NativeName, so every name's bytes
// round-trip.
namespace FileOps {

// How every copy's temporary file is named, followed by 16 hexadecimal
// digits: hidden, so never listed as a picture.
inline constexpr char TemporaryPrefix[] = ".picaroon-copy-";
// After the prefix, in lower-case hexadecimal.
inline constexpr int TemporaryDigits = 16;

bool FolderExists(const QString &path);
bool CreateFolder(const QString &path, QString *error);
// The folder and every missing one above it; the error names the one that
// could not be made.
bool CreatePath(const QString &path, QString *error);
// force: also a read-only file.
bool DeleteFile(const QString &path, bool force, QString *error);
// Deletes the file at path only if isIt says that what was taken is the
// file meant. It is first renamed to a private name, never replacing one,
// so that a file put in its place at any moment is never the one removed;
// anything else goes back under the first free name, path's own or a
// numbered one. *deleted: false when it was not the one or was gone.
bool DeleteOnlyIf(const QString &path, const std::function<bool(const QString &taken)> &isIt, bool *deleted,
                  QString *error);
// a.jpg becomes a.jpg_!, or the first free "a (2).jpg_!", "a (3).jpg_!", …
// when that is taken: an earlier set-aside picture is never replaced, and
// at no moment is the picture's content in neither name. *asideName: the
// bare name it now has.
bool SetAside(const QString &path, QString *asideName, QString *error);
// The n-th candidate for a free name: a.jpg, a (2).jpg, a (3).jpg, …
QString NumberedName(const QString &name, int n);
// The n-th candidate name for a set-aside a.jpg: a.jpg_!, a (2).jpg_!, …
QString SetAsideName(const QString &name, int n = 1);
// Renames only if nothing has the new name; 0, or the errno that stood in
// the way (EEXIST: the name is taken).
int RenameWithoutReplacing(const QString &from, const QString &to);
// Renames from to the first of candidate(1), candidate(2), … in folder that
// nothing has, never replacing one; 0, or the errno that stood in the way.
// *name: the last name tried. A taken name whose file alike() accepts (its
// path given) ends the search: AlreadyThere, *name that file's name.
inline constexpr int AlreadyThere = -1;
int RenameToFree(const QString &from, const QString &folder, const std::function<QString(int)> &candidate,
                 QString *name, const std::function<bool(const QString &)> &alike = {});
struct CopyTally
{
    int copied = 0;
    // Found under their own name or a numbered one with the same bytes.
    int alreadyThere = 0;
    // Told after each file, copied or found there, on the copying thread.
    std::function<void(const CopyTally &)> copiedOne;
};
// Copies the plain files directly in sourceFolder whose names match the
// wildcard pattern (letter case ignored, hidden files left out) into
// destinationFolder, in name order, and stops at the first failure or when
// stopped() holds; those copied before it stay, counted in *tally. A copy
// never replaces a file: one whose name is taken by other bytes gets the
// first free NumberedName, one whose bytes are there already is not copied
// again. Each copy takes its name only once every byte is on disk, with the
// source's permission bits at most, so a failed or stopped copy leaves no
// partial file behind. Finding no matching file is a failure too.
bool CopyFiles(const QString &sourceFolder, const QString &pattern, const QString &destinationFolder,
               const std::function<bool()> &stopped, CopyTally *tally, QString *error);
// One plain file, copied the way CopyFiles copies each.
bool CopyFile(const QString &from, const QString &to, const std::function<bool()> &stopped, CopyTally *tally,
              QString *error);

}
