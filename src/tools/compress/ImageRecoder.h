#pragma once
// Downsamples one image XObject to a resolution at its largest drawn size and stores it as
// JPEG, in place in the loaded document. Only 8-bit DeviceRGB and DeviceGray images without
// colour-key masks or unusual /Decode arrays, stored raw, as flate or as JPEG, are changed; a
// soft mask goes down with its image and stays flate gray. Anything else, any number that
// does not add up, data that does not decode, or a result that is not smaller, leaves the
// image as it was.

#include "JpegCodec.h"
#include "PlacementScanner.h"

#include <qpdf/QPDFObjectHandle.hh>

#include <cstddef>
#include <set>

class ImageRecoder {
public:
    // Pixels decoded at most for one image: larger ones are left alone. Sized so that the
    // decoded samples and their resampled copy fit well inside the program's memory limit.
    static constexpr long long kMaxPixels = 100'000'000;

    ImageRecoder(int ppi, int quality) : m_ppi(ppi), m_quality(quality) {}

    // True when the image was replaced.
    bool recode(QPDFObjectHandle image, const PlacementScanner::Placement& placement);

private:
    int m_ppi;
    int m_quality;
    JpegCodec m_jpeg;
    std::set<QPDFObjGen> m_masksDone;
};
