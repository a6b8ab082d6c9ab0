#include "pictures/PictureShrink.h"

#include "pictures/ExifBlock.h"
#include "pictures/JpegSegments.h"
#include "pictures/PixelResampler.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int App2 = 0xE2;

struct Handle
{
    void operator()(void *handle) const { tjDestroy(handle); }
};
using TurboJpeg = std::unique_ptr<void, Handle>;

QString Words(void *handle) { return QString::fromLocal8Bit(tjGetErrorStr2(handle)); }

// The decoder's largest reduction that still leaves the longer side at
// least the target, so that the last step only ever makes it smaller.
tjscalingfactor Reduction(int width, int height, int wantedLonger)
{
    int count = 0;
    const tjscalingfactor *factors = tjGetScalingFactors(&count);
    tjscalingfactor best{1, 1};
    for (int i = 0; i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num >= f.denom)
            continue;
        const int longer = std::max(TJSCALED(width, f), TJSCALED(height, f));
        if (longer >= wantedLonger && double(f.num) / f.denom < double(best.num) / best.denom)
            best = f;
    }
    return best;
}

// The colour profile's segments, as the file has them.
QByteArray ProfileSegments(const QByteArray &picture, const JpegSegments &segments)
{
    static const QByteArray Signature("ICC_PROFILE\0", 12);
    QByteArray profile;
    for (const JpegSegments::Segment &segment : segments.Segments()) {
        if (segment.marker == App2 && picture.mid(segment.start + 4, Signature.size()) == Signature)
            profile += picture.mid(segment.start, segment.size);
    }
    return profile;
}

}

PictureShrink::Done PictureShrink::Shrink(const QByteArray &picture, int maxSide, int quality, bool keepLocation)
{
    Done done;
    const auto fail = [&done](const QString &why) {
        done.result = Result::Failed;
        done.why = why;
        return done;
    };
    TurboJpeg decoder(tjInitDecompress());
    const auto *bytes = reinterpret_cast<const unsigned char *>(picture.constData());
    int width = 0, height = 0, subsampling = 0, colours = 0;
    if (!decoder
        || tjDecompressHeader3(decoder.get(), bytes, static_cast<unsigned long>(picture.size()), &width, &height,
                               &subsampling, &colours)
               != 0
        || width <= 0 || height <= 0) {
        return fail(tr("it is not a JPEG that can be read (%1)").arg(Words(decoder.get())));
    }
    const JpegSegments segments(picture);
    ExifBlock exif;
    const std::optional<JpegSegments::Segment> exifSegment = segments.Exif();
    QString why;
    if (exifSegment && !exif.Read(picture, *exifSegment, &why))
        return fail(why);
    const int orientation = exifSegment ? exif.Orientation() : 1;
    const bool turned = orientation >= 5;
    done.fromWidth = turned ? height : width;
    done.fromHeight = turned ? width : height;
    if (qint64(width) * height * 3 > LargestDecoded) {
        return fail(tr("it would take more than %1 MiB decoded (%2×%3 pixels)")
                        .arg(LargestDecoded >> 20)
                        .arg(width)
                        .arg(height));
    }
    const int longer = std::max(width, height);
    if (longer <= maxSide) {
        done.toWidth = done.fromWidth;
        done.toHeight = done.fromHeight;
        return done;
    }
    // The stored picture's size once resized; turned afterwards.
    const double ratio = double(maxSide) / longer;
    const int storedWidth = std::max(1, int(std::lround(width * ratio)));
    const int storedHeight = std::max(1, int(std::lround(height * ratio)));
    const tjscalingfactor reduction = Reduction(width, height, std::max(storedWidth, storedHeight));
    RgbPicture decoded;
    decoded.width = TJSCALED(width, reduction);
    decoded.height = TJSCALED(height, reduction);
    decoded.pixels.resize(std::size_t(decoded.width) * std::size_t(decoded.height) * 3);
    if (tjDecompress2(decoder.get(), bytes, static_cast<unsigned long>(picture.size()), decoded.pixels.data(),
                      decoded.width, 0, decoded.height, TJPF_RGB, 0)
        != 0) {
        return fail(tr("it cannot be decoded (%1)").arg(Words(decoder.get())));
    }
    decoder.reset();
    const RgbPicture shown
        = PixelResampler::Upright(PixelResampler::Resized(decoded, storedWidth, storedHeight), orientation);
    decoded = {};

    TurboJpeg encoder(tjInitCompress());
    unsigned char *encoded = nullptr;
    unsigned long encodedSize = 0;
    if (!encoder
        || tjCompress2(encoder.get(), shown.pixels.data(), shown.width, 0, shown.height, TJPF_RGB, &encoded,
                       &encodedSize, TJSAMP_420, quality, 0)
               != 0) {
        tjFree(encoded);
        return fail(tr("it cannot be encoded again (%1)").arg(Words(encoder.get())));
    }
    const QByteArray fresh(reinterpret_cast<const char *>(encoded), qsizetype(encodedSize));
    tjFree(encoded);

    // The EXIF and the colour profile follow the encoder's own first
    // segment (JFIF), as a camera's file has them near its start.
    QByteArray metadata;
    if (exifSegment && !keepLocation)
        done.locationRemoved = exif.RemoveLocation();
    if (exifSegment && !exif.IsEmpty()) {
        exif.SetShownUpright(shown.width, shown.height);
        const QByteArray segment = exif.Segment(&why);
        if (segment.isEmpty())
            return fail(why);
        metadata += segment;
    }
    metadata += ProfileSegments(picture, segments);
    const JpegSegments freshSegments(fresh);
    qsizetype at = 2;
    if (!freshSegments.Segments().isEmpty() && freshSegments.Segments().first().marker == 0xE0)
        at += freshSegments.Segments().first().size;
    done.bytes = fresh.left(at) + metadata + fresh.mid(at);
    done.result = Result::Shrunk;
    done.toWidth = shown.width;
    done.toHeight = shown.height;
    return done;
}
