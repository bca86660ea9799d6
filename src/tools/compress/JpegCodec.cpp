#include "JpegCodec.h"

#include <turbojpeg.h>

JpegCodec::JpegCodec() : m_decoder(tjInitDecompress()), m_encoder(tjInitCompress()) {}

JpegCodec::~JpegCodec()
{
    if (m_decoder)
        tjDestroy(m_decoder);
    if (m_encoder)
        tjDestroy(m_encoder);
}

std::optional<Raster> JpegCodec::decode(const std::string& jpeg, int width, int height, int components,
                                        int minWidth, int minHeight)
{
    if (!m_decoder || jpeg.empty() || (components != 1 && components != 3))
        return std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.data());
    int w = 0, h = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(m_decoder, data, jpeg.size(), &w, &h, &subsampling, &colourspace) != 0)
        return std::nullopt;
    if (w != width || h != height)
        return std::nullopt;
    const bool gray = colourspace == TJCS_GRAY;
    if ((components == 1) != gray || colourspace == TJCS_CMYK || colourspace == TJCS_YCCK)
        return std::nullopt;

    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    int bestWidth = w, bestHeight = h;
    for (int i = 0; factors && i < count; ++i) {
        const int sw = TJSCALED(w, factors[i]);
        const int sh = TJSCALED(h, factors[i]);
        if (sw >= minWidth && sh >= minHeight && sw * static_cast<long long>(sh) < bestWidth * static_cast<long long>(bestHeight)) {
            bestWidth = sw;
            bestHeight = sh;
        }
    }
    Raster raster;
    raster.width = bestWidth;
    raster.height = bestHeight;
    raster.components = components;
    raster.samples.resize(raster.expectedSize());
    // Warnings (a truncated scan, say) count as failures: such an image stays as it was.
    const int flags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
    if (tjDecompress2(m_decoder, data, jpeg.size(), raster.samples.data(), bestWidth, 0, bestHeight,
                      gray ? TJPF_GRAY : TJPF_RGB, flags) != 0)
        return std::nullopt;
    return raster;
}

std::optional<std::string> JpegCodec::encode(const Raster& raster, int quality)
{
    if (!m_encoder || raster.width < 1 || raster.height < 1 || raster.samples.size() != raster.expectedSize())
        return std::nullopt;
    const bool gray = raster.components == 1;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(m_encoder, raster.samples.data(), raster.width, 0, raster.height,
                                   gray ? TJPF_GRAY : TJPF_RGB, &out, &size, gray ? TJSAMP_GRAY : TJSAMP_420,
                                   quality, 0);
    std::optional<std::string> jpeg;
    if (result == 0 && out)
        jpeg.emplace(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    return jpeg;
}
