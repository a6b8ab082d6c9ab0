#include "linktools/PostMarkup.h"

#include "linktools/LinkExtractor.h"
#include "linktools/TextFileAppender.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The record template <div align="center">[MORE=<img src='#thumb#'>]<img src='#img#'>[/MORE]</div>
// cut at its place holders.
const QByteArray RecordHead = "<div align=\"center\">[MORE=<img src='";
const QByteArray RecordMiddle = "'>]<img src='";
const QByteArray RecordTail = "'>[/MORE]</div>";
const QByteArray Terminator = "--endanecdot-";
constexpr qsizetype BlockSize = 64 * 1024;

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray AccountFolder(const QString &account)
{
    return account.toLatin1() + '/';
}

// Composed rather than filled into a template, so that a line which
// happens to hold a place holder cannot have it filled in as well.
void AppendRecord(QByteArray &records, QByteArrayView line, QByteArrayView accountFolder)
{
    records.append(RecordHead);
    qsizetype from = 0;
    for (qsizetype at; (at = line.indexOf(accountFolder, from)) >= 0; from = at + accountFolder.size())
        records.append(line.sliced(from, at + accountFolder.size() - from)).append("thumb/");
    records.append(line.sliced(from)).append(RecordMiddle).append(line).append(RecordTail).append(Terminator);
}

// A record cut off before its terminator would make one post of itself and
// the first new record; closing it keeps the new one whole.
bool EndsInsideRecord(QByteArray tail)
{
    while (tail.endsWith('\r') || tail.endsWith('\n'))
        tail.chop(1);
    return !tail.isEmpty() && !tail.endsWith(Terminator);
}

// Not blocking, so that a named pipe in its place is refused, not waited on.
bool OpenForReading(const QString &path, QFile *file, qint64 *size, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        const int cause = errno;
        if (fd >= 0)
            ::close(fd);
        *error = QStringLiteral("Cannot open %1 for reading: %2")
                     .arg(Shown(path), QString::fromLocal8Bit(std::strerror(cause)));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("Cannot read %1: not a regular file").arg(Shown(path));
        return false;
    }
    *size = status.st_size;
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = QStringLiteral("Cannot open %1 for reading: %2").arg(Shown(path), file->errorString());
        return false;
    }
    return true;
}

}

QString PostMarkup::PostFilePath(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("base_url.txt"));
}

QByteArray PostMarkup::Record(QByteArrayView line, const QString &account)
{
    QByteArray record;
    AppendRecord(record, line, AccountFolder(account));
    return record;
}

bool PostMarkup::MakePosts(const QString &home, const QString &account, qint64 *count, QString *error)
{
    *count = 0;
    const QByteArray accountFolder = AccountFolder(account);
    const QString urlPath = LinkExtractor::UrlFilePath(home);
    QFile input;
    qint64 left = 0;
    if (!OpenForReading(urlPath, &input, &left, error))
        return false;
    TextFileAppender output(PostFilePath(home));
    if (!output.Open(error))
        return false;

    qint64 made = 0;
    QByteArray records;
    records.reserve(2 * BlockSize);
    auto take = [&](QByteArrayView line) {
        if (made++ == 0 && EndsInsideRecord(output.Tail()))
            records.append(Terminator);
        AppendRecord(records, line, accountFolder);
        if (records.size() < BlockSize)
            return true;
        const bool written = output.Write(records, error);
        records.resize(0); // keeps its room
        return written;
    };

    // A line ends at CR or CR LF; a lone LF is part of the line. A break at
    // the very end of the file starts no further line. Only what url.txt
    // held when the run began is read, so the run ends even when
    // base_url.txt is url.txt under another name.
    QByteArray block(BlockSize, Qt::Uninitialized);
    QByteArray carried; // the start of a line that runs on into the next block
    bool afterCr = false;
    while (left > 0) {
        const qint64 got = input.read(block.data(), std::min<qint64>(left, BlockSize));
        if (got < 0) {
            *error = QStringLiteral("Cannot read %1: %2").arg(Shown(urlPath), input.errorString());
            QString trouble;
            if (!output.RollBack(&trouble))
                *error += QStringLiteral("; ") + trouble;
            return false;
        }
        if (got == 0)
            break;
        left -= got;
        const QByteArrayView bytes(block.constData(), got);
        qsizetype from = afterCr && bytes.startsWith('\n') ? 1 : 0;
        afterCr = false;
        while (from < bytes.size()) {
            const qsizetype cr = bytes.indexOf('\r', from);
            if (cr < 0) {
                carried.append(bytes.sliced(from));
                break;
            }
            bool taken;
            if (carried.isEmpty()) {
                taken = take(bytes.sliced(from, cr - from));
            } else {
                taken = take(carried.append(bytes.sliced(from, cr - from)));
                carried.resize(0);
            }
            if (!taken)
                return false;
            from = cr + 1;
            if (from == bytes.size())
                afterCr = true;
            else if (bytes[from] == '\n')
                ++from;
        }
    }
    if (!carried.isEmpty() && !take(carried))
        return false;
    if (!output.Write(records, error) || !output.Commit(error))
        return false;
    *count = made;
    return true;
}
