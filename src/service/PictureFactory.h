#pragma once
// The pictures the service hands out, drawn from a seed so that the same id always gives the
// same picture: QR login codes, avatars and advertisement banners (all PNG files).

#include <string>

class PictureFactory {
public:
    // 164 × 164, a QR-like grid of modules with the three corner markers.
    static std::string qrCode(const std::string& seed);
    // 96 × 96, a symmetric block pattern in one colour.
    static std::string avatar(const std::string& seed);
    // 300 × 80, coloured stripes.
    static std::string banner(const std::string& seed);
};
