#include "pictures/PicturePreparation.h"

#include "pictures/LocationRemoval.h"
#include "pictures/PictureShrink.h"

#include <QIODevice>

#include <algorithm>

namespace {

// Cameras put EXIF first: a look at the head decides for nearly every
// picture, and one without a location is never held in memory twice.
constexpr qint64 Head = 256 * 1024;

bool ReadAll(QIODevice &file, qint64 size, QByteArray *bytes, QString *why)
{
    if (!file.seek(0)) {
        *why = file.errorString();
        return false;
    }
    *bytes = file.read(size);
    if (bytes->size() != size) {
        *why = file.errorString();
        return false;
    }
    return true;
}

PicturePreparation::Outcome Unusable(const QString &why)
{
    PicturePreparation::Outcome outcome;
    outcome.result = PicturePreparation::Result::Unusable;
    outcome.why = why;
    return outcome;
}

}

PicturePreparation::Outcome PicturePreparation::Prepare(QIODevice &file, qint64 size) const
{
    if (m_options.maxSide > 0)
        return Shrunk(file, size);
    if (!m_options.keepLocation)
        return WithoutLocation(file, size);
    return Outcome();
}

PicturePreparation::Outcome PicturePreparation::WithoutLocation(QIODevice &file, qint64 size) const
{
    QByteArray head;
    QString why;
    if (!ReadAll(file, std::min(size, Head), &head, &why))
        return Unusable(why);
    Outcome outcome;
    switch (LocationRemoval::Inspect(head, &why)) {
    case LocationRemoval::Look::Unreadable:
        return Unusable(why);
    case LocationRemoval::Look::NeedsAll:
        if (head.size() == size)
            break;
        if (!ReadAll(file, size, &head, &why))
            return Unusable(why);
        return WithoutLocationIn(head);
    case LocationRemoval::Look::HasLocation:
        outcome = WithoutLocationIn(head);
        if (outcome.result == Result::Unusable)
            return outcome;
        break;
    case LocationRemoval::Look::NoLocation:
        break;
    }
    if (outcome.bytes.isNull())
        outcome.bytes = head;
    // Anything to change lies in the head: the rest follows from the file
    // as it is, read once.
    if (head.size() < size)
        outcome.restFrom = head.size();
    return outcome;
}

PicturePreparation::Outcome PicturePreparation::WithoutLocationIn(const QByteArray &picture) const
{
    Outcome outcome;
    QString why;
    switch (LocationRemoval::Remove(picture, &outcome.bytes, &why)) {
    case LocationRemoval::Result::Failed:
        return Unusable(why);
    case LocationRemoval::Result::Removed:
        outcome.result = Result::Prepared;
        outcome.done = QStringLiteral("location removed");
        outcome.shown = tr("location removed");
        return outcome;
    case LocationRemoval::Result::NoLocation:
        break;
    }
    outcome.bytes = picture;
    return outcome;
}

PicturePreparation::Outcome PicturePreparation::Shrunk(QIODevice &file, qint64 size) const
{
    QByteArray bytes;
    QString why;
    if (!ReadAll(file, size, &bytes, &why))
        return Unusable(why);
    const PictureShrink::Done shrink
        = PictureShrink::Shrink(bytes, m_options.maxSide, m_options.quality, m_options.keepLocation);
    if (shrink.result == PictureShrink::Result::Failed)
        return Unusable(shrink.why);
    if (shrink.result == PictureShrink::Result::WithinLimit) {
        if (!m_options.keepLocation)
            return WithoutLocationIn(bytes);
        Outcome outcome;
        outcome.bytes = bytes;
        return outcome;
    }
    Outcome outcome;
    outcome.result = Result::Prepared;
    outcome.bytes = shrink.bytes;
    const QString sizes = QStringLiteral("%1×%2 → %3×%4")
                              .arg(shrink.fromWidth)
                              .arg(shrink.fromHeight)
                              .arg(shrink.toWidth)
                              .arg(shrink.toHeight);
    outcome.done = QStringLiteral("shrunk ") + sizes;
    outcome.shown = tr("shrunk %1").arg(sizes);
    if (shrink.locationRemoved) {
        outcome.done = QStringLiteral("location removed, ") + outcome.done;
        outcome.shown = tr("location removed, shrunk %1").arg(sizes);
    }
    return outcome;
}
