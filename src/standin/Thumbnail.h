#pragma once

#include <QByteArray>

namespace Thumbnail {

inline constexpr int MaxSide = 160;

// A scaled-down JPEG of the picture, or the picture itself when it does not
// decode: the page must still show something for a stored oddity.
QByteArray Make(const QByteArray &picture);

}
