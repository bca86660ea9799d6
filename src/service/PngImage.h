#pragma once
// A small RGB picture that can be written as a PNG file (zlib does the compression).

#include <cstdint>
#include <string>
#include <vector>

class PngImage {
public:
    PngImage(int width, int height, std::uint32_t background = 0xFFFFFF);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Colours are 0xRRGGBB. Rectangles are clipped to the picture.
    void fillRect(int x, int y, int w, int h, std::uint32_t rgb);

    // The complete PNG file.
    std::string encode() const;

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels; // RGB, row by row
};
