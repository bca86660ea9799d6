#include "Resampler.h"

#include <algorithm>
#include <cmath>

namespace {

struct Tap {
    int index;
    float weight;
};

// For each target position, the source positions it covers with their shares (summing to 1).
std::vector<std::vector<Tap>> taps(int sourceSize, int targetSize)
{
    std::vector<std::vector<Tap>> result(static_cast<std::size_t>(targetSize));
    const double scale = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        const double start = t * scale;
        const double end = std::min<double>(sourceSize, (t + 1) * scale);
        for (int s = static_cast<int>(std::floor(start)); s < end && s < sourceSize; ++s) {
            const double covered = std::min<double>(end, s + 1) - std::max<double>(start, s);
            if (covered > 0)
                result[static_cast<std::size_t>(t)].push_back({s, static_cast<float>(covered / (end - start))});
        }
    }
    return result;
}

} // namespace

Raster Resampler::shrink(const Raster& source, int width, int height)
{
    width = std::clamp(width, 1, source.width);
    height = std::clamp(height, 1, source.height);
    if (width == source.width && height == source.height)
        return source;
    const int c = source.components;
    const auto columns = taps(source.width, width);
    const auto rows = taps(source.height, height);

    // Columns first, into floats, one source row at a time.
    std::vector<float> narrow(static_cast<std::size_t>(width) * source.height * c);
    for (int y = 0; y < source.height; ++y) {
        const unsigned char* in = &source.samples[static_cast<std::size_t>(y) * source.width * c];
        float* out = &narrow[static_cast<std::size_t>(y) * width * c];
        for (int x = 0; x < width; ++x) {
            for (const Tap& tap : columns[static_cast<std::size_t>(x)]) {
                for (int k = 0; k < c; ++k)
                    out[x * c + k] += tap.weight * in[tap.index * c + k];
            }
        }
    }

    Raster target;
    target.width = width;
    target.height = height;
    target.components = c;
    target.samples.resize(target.expectedSize());
    std::vector<float> line(static_cast<std::size_t>(width) * c);
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), 0.0f);
        for (const Tap& tap : rows[static_cast<std::size_t>(y)]) {
            const float* in = &narrow[static_cast<std::size_t>(tap.index) * width * c];
            for (std::size_t i = 0; i < line.size(); ++i)
                line[i] += tap.weight * in[i];
        }
        unsigned char* out = &target.samples[static_cast<std::size_t>(y) * width * c];
        for (std::size_t i = 0; i < line.size(); ++i)
            out[i] = static_cast<unsigned char>(std::clamp(std::lround(line[i]), 0L, 255L));
    }
    return target;
}
