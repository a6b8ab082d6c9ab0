#pragma once

#include "settings/SettingKey.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QIODevice;

// What is done to a picture before it goes to a public blog, on the bytes
// read from its file; the file itself is never changed. Its location is
// taken out unless the member keeps it, and a photo larger than the
// member's limit is made smaller.
class PicturePreparation
{
    Q_DECLARE_TR_FUNCTIONS(PicturePreparation)

public:
    struct Options
    {
        bool keepLocation = false;
        // The longest side a picture may have; 0: any.
        int maxSide = 0;
        int quality = SettingDefaults::Quality;
        bool operator==(const Options &other) const
        {
            return keepLocation == other.keepLocation && maxSide == other.maxSide && quality == other.quality;
        }
    };
    enum class Result {
        // Nothing to do: the file is sent as it is, from the bytes already
        // read and the rest of the file after them, or, without bytes,
        // read again from its start.
        AsItIs,
        Prepared,
        // It must not go as it is and cannot be prepared: passed over.
        Unusable,
    };
    struct Outcome
    {
        Result result = Result::AsItIs;
        // The picture to send; when restFrom is not -1, only its first
        // bytes, the file from that offset on following them as they are,
        // so that a large photo is not copied to change its head.
        QByteArray bytes;
        qint64 restFrom = -1;
        // What was done, as the log keeps it ("location removed", "shrunk
        // 6000×4000 → 1600×1067"), and in the member's words.
        QString done;
        QString shown;
        QString why;
    };

    PicturePreparation() = default;
    explicit PicturePreparation(const Options &options)
        : m_options(options)
    {
    }
    const Options &Chosen() const { return m_options; }

    // The picture of size bytes from the start of file, each of its bytes
    // read once; for AsItIs without bytes the file is back at its start.
    Outcome Prepare(QIODevice &file, qint64 size) const;

private:
    Outcome WithoutLocation(QIODevice &file, qint64 size) const;
    Outcome WithoutLocationIn(const QByteArray &picture) const;
    Outcome Shrunk(QIODevice &file, qint64 size) const;

    Options m_options;
};
