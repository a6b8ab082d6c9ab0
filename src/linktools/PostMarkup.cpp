#include "linktools/PostMarkup.h"

#include "linktools/LinkExtractor.h"
#include "linktools/TextFileAppender.h"

#include <QDir>
#include <QFile>
#include <QList>

namespace {

// The record template <div align="center">[MORE=<img src='#thumb#'>]<img src='#img#'>[/MORE]</div>
// cut at its place holders.
const QByteArray RecordHead = "<div align=\"center\">[MORE=<img src='";
const QByteArray RecordMiddle = "'>]<img src='";
const QByteArray RecordTail = "'>[/MORE]</div>";
const QByteArray Terminator = "--endanecdot-";

// A line ends at CR or CR LF; a lone LF is part of the line. A break at the
// very end of the file starts no further line.
QList<QByteArrayView> Lines(QByteArrayView text)
{
    QList<QByteArrayView> lines;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype cr = text.indexOf('\r', from);
        if (cr < 0) {
            lines.append(text.sliced(from));
            break;
        }
        lines.append(text.sliced(from, cr - from));
        from = cr + 1;
        if (from < text.size() && text[from] == '\n')
            ++from;
    }
    return lines;
}

// A record cut off before its terminator would make one post of itself and
// the first new record; closing it keeps the new one whole.
bool EndsInsideRecord(QByteArray tail)
{
    while (tail.endsWith('\r') || tail.endsWith('\n'))
        tail.chop(1);
    return !tail.isEmpty() && !tail.endsWith(Terminator);
}

bool ReadAll(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open %1 for reading: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

}

QString PostMarkup::PostFilePath(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("base_url.txt"));
}

QByteArray PostMarkup::Record(QByteArrayView line)
{
    // Composed rather than filled into a template, so that a line which
    // happens to hold a place holder cannot have it filled in as well.
    const QByteArray thumb = line.toByteArray().replace("418265/", "418265/thumb/");
    QByteArray record;
    record.reserve(RecordHead.size() + thumb.size() + RecordMiddle.size() + line.size() + RecordTail.size()
                   + Terminator.size());
    record.append(RecordHead).append(thumb).append(RecordMiddle).append(line).append(RecordTail).append(Terminator);
    return record;
}

bool PostMarkup::MakePosts(const QString &home, int *count, QString *error)
{
    *count = 0;
    QByteArray text;
    if (!ReadAll(LinkExtractor::UrlFilePath(home), &text, error))
        return false;
    const QList<QByteArrayView> lines = Lines(text);
    TextFileAppender file(PostFilePath(home));
    if (!file.Open(error))
        return false;
    if (!lines.isEmpty() && EndsInsideRecord(file.Tail()) && !file.Write(Terminator, error))
        return false;
    for (QByteArrayView line : lines) {
        if (!file.Write(Record(line), error))
            return false;
    }
    if (!file.Commit(error))
        return false;
    *count = int(lines.size());
    return true;
}
