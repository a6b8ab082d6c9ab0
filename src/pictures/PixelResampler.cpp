#include "pictures/PixelResampler.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Lobes = 3.0;

double Lanczos(double x)
{
    x = std::fabs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= Lobes)
        return 0.0;
    const double pi = 3.14159265358979323846;
    return Lobes * std::sin(pi * x) * std::sin(pi * x / Lobes) / (pi * pi * x * x);
}

// For each output position: the first source position and the weights
// that follow it, summing to one.
struct Taps
{
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;
    int widest = 0;
};

Taps TapsFor(int from, int to)
{
    Taps taps;
    const double scale = double(from) / double(to);
    const double stretch = std::max(scale, 1.0);
    const double reach = Lobes * stretch;
    taps.widest = int(std::ceil(reach)) * 2 + 1;
    taps.first.resize(std::size_t(to));
    taps.count.resize(std::size_t(to));
    taps.weights.assign(std::size_t(to) * std::size_t(taps.widest), 0.0f);
    for (int out = 0; out < to; ++out) {
        const double centre = (out + 0.5) * scale - 0.5;
        const int first = std::max(0, int(std::floor(centre - reach)) + 1);
        const int last = std::min(from - 1, int(std::floor(centre + reach)));
        const int count = std::min(std::max(last - first + 1, 1), taps.widest);
        double sum = 0;
        float *weights = taps.weights.data() + std::size_t(out) * std::size_t(taps.widest);
        for (int i = 0; i < count; ++i) {
            const double weight = Lanczos((first + i - centre) / stretch);
            weights[i] = float(weight);
            sum += weight;
        }
        for (int i = 0; i < count; ++i)
            weights[i] = sum != 0 ? float(weights[i] / sum) : (i == 0 ? 1.0f : 0.0f);
        taps.first[std::size_t(out)] = std::min(first, from - 1);
        taps.count[std::size_t(out)] = count;
    }
    return taps;
}

unsigned char Clamped(float value)
{
    return static_cast<unsigned char>(std::clamp(std::lround(value), 0L, 255L));
}

}

RgbPicture PixelResampler::Resized(const RgbPicture &from, int width, int height)
{
    // Rows first into floats, so that the columns pass rounds only once.
    const Taps across = TapsFor(from.width, width);
    std::vector<float> rows(std::size_t(width) * std::size_t(from.height) * 3);
    for (int y = 0; y < from.height; ++y) {
        const unsigned char *source = from.Row(y);
        float *target = rows.data() + std::size_t(y) * std::size_t(width) * 3;
        for (int x = 0; x < width; ++x) {
            const float *weights = across.weights.data() + std::size_t(x) * std::size_t(across.widest);
            const unsigned char *pixel = source + std::size_t(across.first[std::size_t(x)]) * 3;
            float r = 0, g = 0, b = 0;
            for (int i = 0, n = across.count[std::size_t(x)]; i < n; ++i, pixel += 3) {
                r += weights[i] * pixel[0];
                g += weights[i] * pixel[1];
                b += weights[i] * pixel[2];
            }
            target[3 * x] = r;
            target[3 * x + 1] = g;
            target[3 * x + 2] = b;
        }
    }
    const Taps down = TapsFor(from.height, height);
    RgbPicture to{width, height, std::vector<unsigned char>(std::size_t(width) * std::size_t(height) * 3)};
    std::vector<float> line(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), 0.0f);
        const float *weights = down.weights.data() + std::size_t(y) * std::size_t(down.widest);
        for (int i = 0, n = down.count[std::size_t(y)]; i < n; ++i) {
            const float *source = rows.data() + std::size_t(down.first[std::size_t(y)] + i) * std::size_t(width) * 3;
            const float weight = weights[i];
            for (std::size_t k = 0; k < line.size(); ++k)
                line[k] += weight * source[k];
        }
        unsigned char *target = to.Row(y);
        for (std::size_t k = 0; k < line.size(); ++k)
            target[k] = Clamped(line[k]);
    }
    return to;
}

RgbPicture PixelResampler::Upright(const RgbPicture &from, int orientation)
{
    if (orientation <= 1 || orientation > 8)
        return from;
    const bool turned = orientation >= 5;
    RgbPicture to{turned ? from.height : from.width, turned ? from.width : from.height,
                  std::vector<unsigned char>(from.pixels.size())};
    const int w = from.width, h = from.height;
    for (int y = 0; y < h; ++y) {
        const unsigned char *source = from.Row(y);
        for (int x = 0; x < w; ++x) {
            int tx = x, ty = y;
            switch (orientation) {
            case 2: tx = w - 1 - x; break;
            case 3: tx = w - 1 - x; ty = h - 1 - y; break;
            case 4: ty = h - 1 - y; break;
            case 5: tx = y; ty = x; break;
            case 6: tx = h - 1 - y; ty = x; break;
            case 7: tx = h - 1 - y; ty = w - 1 - x; break;
            case 8: tx = y; ty = w - 1 - x; break;
            }
            std::copy_n(source + 3 * x, 3, to.Row(ty) + 3 * tx);
        }
    }
    return to;
}
