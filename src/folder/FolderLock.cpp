#include "folder/FolderLock.h"

#include "folder/CopyLeftovers.h"
#include "folder/ImageFolder.h"

#include <QDir>
#include <QCoreApplication>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char *Token(FolderLock::Holder holder)
{
    switch (holder) {
    case FolderLock::Holder::Window: return "window";
    case FolderLock::Holder::Upload: return "upload";
    case FolderLock::Holder::Import: return "import";
    }
    return "";
}

}

FolderLock::~FolderLock()
{
    Release();
}

QString FolderLock::PathIn(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("img.lock"));
}

FolderLock::Result FolderLock::Take(const QString &home, Holder holder, QString *error)
{
    Release();
    const QString path = PathIn(home);
    int cause = 0;
    QString why;
    // Never a link: the holder's record would be written wherever it points.
    PlainFile file = PlainFile::Open(path, O_RDWR | O_CREAT | O_NOFOLLOW, 0644, &cause, &why);
    if (!file.IsOpen()) {
        *error = QCoreApplication::translate("FolderLock", "Cannot lock the image folder with %1: %2")
                     .arg(PlainFile::Shown(path), why);
        return Result::Failed;
    }
    // flock, not fcntl: it belongs to the open file, so a second run of the
    // same process is turned away as well.
    while (::flock(file.Descriptor(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            *error = QCoreApplication::translate("FolderLock", "Cannot lock the image folder with %1: %2")
                         .arg(PlainFile::Shown(path), PlainFile::SystemError(errno));
            return Result::Failed;
        }
        char recorded[64];
        const ssize_t got = ::pread(file.Descriptor(), recorded, sizeof recorded, 0);
        *error = QCoreApplication::translate("FolderLock",
                                             "The image folder %1 is in use by %2; try again when it has ended")
                     .arg(PlainFile::Shown(ImageFolder::PathIn(home)),
                          HolderText(QByteArray(recorded, got > 0 ? int(got) : 0)));
        return Result::Busy;
    }
    const QByteArray record = QByteArray::number(qint64(::getpid())) + ' ' + Token(holder) + '\n';
    if (::ftruncate(file.Descriptor(), 0) != 0)
        cause = errno;
    if (cause != 0 || !file.WriteAll(record.constData(), record.size(), &cause)) {
        *error = QCoreApplication::translate("FolderLock", "Cannot write %1: %2")
                     .arg(PlainFile::Shown(path), PlainFile::SystemError(cause));
        return Result::Failed;
    }
    m_file = std::move(file);
    // Nobody else can be copying into the folder now. A leftover that
    // cannot go is hidden, never listed, and tried again by the next run.
    int removed = 0;
    QString ignored;
    CopyLeftovers::Remove(ImageFolder::PathIn(home), &removed, &ignored);
    return Result::Taken;
}

void FolderLock::Release()
{
    if (!m_file.IsOpen())
        return;
    // The record goes first, while the lock still keeps others out; the
    // close then drops the lock.
    if (::ftruncate(m_file.Descriptor(), 0) != 0) {
        // A record left behind only words a later refusal; the lock still goes.
    }
    int ignored = 0;
    m_file.Close(&ignored);
}

// The record is whatever the file holds: only a process number and a
// known kind are shown.
QString FolderLock::HolderText(const QByteArray &recorded)
{
    const QList<QByteArray> fields = recorded.trimmed().split(' ');
    bool isNumber = false;
    const qint64 pid = fields.value(0).toLongLong(&isNumber);
    if (fields.size() != 2 || !isNumber || pid <= 0)
        return QCoreApplication::translate("FolderLock", "another run");
    const QByteArray kind = fields.at(1);
    QString who;
    if (kind == Token(Holder::Window))
        who = QCoreApplication::translate("FolderLock", "the window");
    else if (kind == Token(Holder::Upload))
        who = QStringLiteral("picaroon upload");
    else if (kind == Token(Holder::Import))
        who = QStringLiteral("picaroon import");
    else
        return QCoreApplication::translate("FolderLock", "another run");
    return QCoreApplication::translate("FolderLock", "%1 (process %2)").arg(who).arg(pid);
}
