#pragma once

#include <vector>

// Decoded pixels, three bytes each (red, green, blue), row after row: what
// is resized and turned between the decoder and the encoder.
struct RgbPicture
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    unsigned char *Row(int y) { return pixels.data() + std::size_t(y) * std::size_t(width) * 3; }
    const unsigned char *Row(int y) const { return pixels.data() + std::size_t(y) * std::size_t(width) * 3; }
};
