#include "pictures/PicturePreparation.h"

#include "pictures/LocationRemoval.h"

#include <QIODevice>

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

}

PicturePreparation::Outcome PicturePreparation::Prepare(QIODevice &file, qint64 size) const
{
    Outcome outcome;
    if (m_options.keepLocation)
        return outcome;
    QByteArray bytes;
    if (!ReadAll(file, std::min(size, Head), &bytes, &outcome.why)) {
        outcome.result = Result::Unusable;
        return outcome;
    }
    LocationRemoval::Look look = LocationRemoval::Inspect(bytes, &outcome.why);
    if (look == LocationRemoval::Look::NeedsAll && size > Head) {
        if (!ReadAll(file, size, &bytes, &outcome.why)) {
            outcome.result = Result::Unusable;
            return outcome;
        }
        look = LocationRemoval::Inspect(bytes, &outcome.why);
    }
    if (look == LocationRemoval::Look::Unreadable) {
        outcome.result = Result::Unusable;
        return outcome;
    }
    if (look != LocationRemoval::Look::HasLocation) {
        if (bytes.size() == size)
            outcome.bytes = bytes;
        else if (!file.seek(0)) {
            outcome.result = Result::Unusable;
            outcome.why = file.errorString();
        }
        return outcome;
    }
    if (bytes.size() != size && !ReadAll(file, size, &bytes, &outcome.why)) {
        outcome.result = Result::Unusable;
        return outcome;
    }
    switch (LocationRemoval::Remove(bytes, &outcome.bytes, &outcome.why)) {
    case LocationRemoval::Result::Removed:
        outcome.result = Result::Prepared;
        outcome.done = QLatin1String(LocationRemoved);
        break;
    case LocationRemoval::Result::NoLocation:
        break;
    case LocationRemoval::Result::Failed:
        outcome.result = Result::Unusable;
        break;
    }
    if (outcome.result == Result::AsItIs && !file.seek(0)) {
        outcome.result = Result::Unusable;
        outcome.why = file.errorString();
    }
    return outcome;
}
