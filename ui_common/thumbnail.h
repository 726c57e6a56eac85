// Turning a BMP_ chunk's data into the picture the detail view shows.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace marrowick {

// Catalog thumbnails are 74 x 37: a normal and a highlighted 37 x 37 half side
// by side. Returns the left half (or the whole image when it is not twice as
// wide as high), or a null image when the bytes do not decode.
QImage DecodeThumbnail(const std::vector<std::uint8_t>& bitmapFile);

// Largest image we agree to decode; anything bigger is refused before any
// pixel memory is allocated.
inline constexpr int kMaxThumbnailSide = 1024;

}  // namespace marrowick
