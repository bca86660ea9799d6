#pragma once
// Shrinks a raster by averaging the source area under each target pixel (a box filter with
// fractional edges), rows and columns apart. Never enlarges.

#include "Raster.h"

class Resampler {
public:
    // Nothing to do (a copy) when the target is not smaller on either side.
    static Raster shrink(const Raster& source, int width, int height);
};
