#pragma once
// What a test needs to know about a PNG file: that it is one, and its size.

#include <string>

struct PngInfo {
    bool valid = false; // signature, IHDR first, IEND last
    int width = 0;
    int height = 0;

    static PngInfo read(const std::string& bytes);
};
