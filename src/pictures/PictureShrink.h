#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// A photo larger than the member's limit made smaller for the blog: decoded
// (already reduced by the decoder where it can), turned as its orientation
// says it is shown, resized so that its longer side is the limit, and
// encoded again; its EXIF (orientation then normal, the new size) and its
// colour profile go along.
class PictureShrink
{
    Q_DECLARE_TR_FUNCTIONS(PictureShrink)

public:
    // What one picture may take decoded: a limit on memory whatever the
    // file claims.
    static constexpr qint64 LargestDecoded = qint64(512) * 1024 * 1024;

    enum class Result { WithinLimit, Shrunk, Failed };
    struct Done
    {
        Result result = Result::WithinLimit;
        QByteArray bytes;
        // Shown sizes, before and after.
        int fromWidth = 0, fromHeight = 0, toWidth = 0, toHeight = 0;
        bool locationRemoved = false;
        QString why;
    };

    // keepLocation: the EXIF that goes along keeps its GPS tags.
    static Done Shrink(const QByteArray &picture, int maxSide, int quality, bool keepLocation);
};
