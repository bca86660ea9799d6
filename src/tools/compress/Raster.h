#pragma once
// Decoded image samples: width × height pixels of components bytes each, rows top to bottom.

#include <cstddef>
#include <vector>

struct Raster {
    int width = 0;
    int height = 0;
    int components = 0; // 1 gray, 3 RGB
    std::vector<unsigned char> samples;

    std::size_t expectedSize() const
    {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * static_cast<std::size_t>(components);
    }
};
