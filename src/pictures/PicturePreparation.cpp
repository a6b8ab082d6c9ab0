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
    QByteArray bytes;
    QString why;
    if (!ReadAll(file, std::min(size, Head), &bytes, &why))
        return Unusable(why);
    const LocationRemoval::Look look = LocationRemoval::Inspect(bytes, &why);
    if (look == LocationRemoval::Look::Unreadable)
        return Unusable(why);
    // The EXIF block lies in the head: only the head is changed.
    if (look == LocationRemoval::Look::HasLocation && bytes.size() < size) {
        Outcome outcome = WithoutLocationIn(bytes);
        if (outcome.result == Result::Prepared)
            outcome.restFrom = bytes.size();
        return outcome;
    }
    if (bytes.size() == size || look != LocationRemoval::Look::NoLocation) {
        if (bytes.size() != size && !ReadAll(file, size, &bytes, &why))
            return Unusable(why);
        return WithoutLocationIn(bytes);
    }
    if (!file.seek(0))
        return Unusable(file.errorString());
    return Outcome();
}

PicturePreparation::Outcome PicturePreparation::WithoutLocationIn(const QByteArray &picture) const
{
    Outcome outcome;
    QString why;
    switch (LocationRemoval::Inspect(picture, &why)) {
    case LocationRemoval::Look::Unreadable:
        return Unusable(why);
    case LocationRemoval::Look::HasLocation:
        if (LocationRemoval::Remove(picture, &outcome.bytes, &why) != LocationRemoval::Result::Removed)
            return Unusable(why);
        outcome.result = Result::Prepared;
        outcome.done = QStringLiteral("location removed");
        outcome.shown = tr("location removed");
        return outcome;
    case LocationRemoval::Look::NoLocation:
    case LocationRemoval::Look::NeedsAll:
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
