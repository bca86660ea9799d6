#pragma once
// libjpeg-turbo for the images: decodes a JPEG (scaled down by the library itself when a much
// smaller result is wanted, which is far quicker than decoding it whole) and encodes gray or
// RGB samples. Each call checks what the data says against what the caller expects.

#include "Raster.h"

#include <optional>
#include <string>

class JpegCodec {
public:
    JpegCodec();
    ~JpegCodec();
    JpegCodec(const JpegCodec&) = delete;
    JpegCodec& operator=(const JpegCodec&) = delete;

    // The JPEG's size and components (1 or 3; anything else, such as CMYK, gives nothing).
    // Decodes at the smallest of the library's scales that is still at least minWidth ×
    // minHeight; nothing when the data does not decode or is not width × height.
    std::optional<Raster> decode(const std::string& jpeg, int width, int height, int components,
                                 int minWidth, int minHeight);

    // Nothing when the library refuses.
    std::optional<std::string> encode(const Raster& raster, int quality);

private:
    void* m_decoder;
    void* m_encoder;
};
