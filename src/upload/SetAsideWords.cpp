#include "upload/SetAsideWords.h"

#include "folder/NativeName.h"
#include "folder/PlainFile.h"
#include "upload/RunScheduler.h"

#include <QList>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 Tail = 1 << 20;
const QByteArray SetAsideAs = QByteArrayLiteral("set aside as ");

}

SetAsideWords::SetAsideWords(QObject *parent)
    : QObject(parent)
{
}

void SetAsideWords::Follow(RunScheduler &run)
{
    connect(&run, &RunScheduler::PictureHandled, this, &SetAsideWords::Take);
}

void SetAsideWords::Take(const PictureOutcome &outcome)
{
    if (outcome.kind == PictureOutcome::Kind::SetAside)
        m_words.insert(NativeName::Escaped(outcome.asideName), NativeName::Escaped(outcome.words));
}

QString SetAsideWords::Of(const QString &asideName) const
{
    return m_words.value(NativeName::Escaped(asideName));
}

void SetAsideWords::ReadLog(const QString &path)
{
    QString why;
    PlainFile log = PlainFile::OpenForReading(path, &why);
    if (!log.IsOpen())
        return;
    const qint64 from = std::max<qint64>(log.Size() - Tail, 0);
    QByteArray text(log.Size() - from, Qt::Uninitialized);
    qint64 got = 0;
    while (got < text.size()) {
        const ssize_t n = ::pread(log.Descriptor(), text.data() + got, size_t(text.size() - got), from + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    text.truncate(got);
    // A line cut by the tail's start is no record.
    if (from > 0)
        text.remove(0, text.indexOf('\n') + 1);
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() >= 5 && fields.at(3).startsWith(SetAsideAs))
            m_words.insert(QString::fromUtf8(fields.at(3).mid(SetAsideAs.size())), QString::fromUtf8(fields.at(4)));
    }
}
