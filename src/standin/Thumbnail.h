#pragma once

#include <QByteArray>

#include <optional>

namespace Thumbnail {

inline constexpr int MaxSide = 160;

// A scaled-down JPEG of the picture; nothing when it does not decode, and
// the page then shows the picture itself: a stored oddity still shows.
std::optional<QByteArray> Make(const QByteArray &picture);

}
