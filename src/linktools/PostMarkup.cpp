#include "linktools/PostMarkup.h"

#include "folder/PlainFile.h"
#include "linktools/LinkExtractor.h"
#include "linktools/TextFileAppender.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>

#include <algorithm>

#include <fcntl.h>

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
    return PlainFile::Shown(path);
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

bool OpenForReading(const QString &path, QFile *file, qint64 *size, QString *error)
{
    int cause = 0;
    QString why;
    PlainFile plain = PlainFile::Open(path, O_RDONLY, 0, &cause, &why);
    *size = plain.Size();
    if (plain.HandTo(*file, &why))
        return true;
    const bool notPlain = !plain.IsOpen() && cause == 0;
    *error = (notPlain ? QCoreApplication::translate("PostMarkup", "Cannot read %1: %2")
                       : QCoreApplication::translate("PostMarkup", "Cannot open %1 for reading: %2"))
                 .arg(Shown(path), why);
    return false;
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

bool PostMarkup::MakePosts(const QString &home, const QString &account, qint64 *count, QString *error,
                           const std::function<bool()> &stopped)
{
    *count = 0;
    const QByteArray accountFolder = AccountFolder(account);
    const QString urlPath = LinkExtractor::UrlFilePath(home);
    QFile input;
    qint64 left = 0;
    if (!OpenForReading(urlPath, &input, &left, error))
        return false;
    TextFileAppender output(PostFilePath(home), stopped);
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
            *error = QCoreApplication::translate("PostMarkup", "Cannot read %1: %2")
                         .arg(Shown(urlPath), input.errorString());
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
