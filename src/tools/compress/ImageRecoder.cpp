#include "ImageRecoder.h"

#include "Resampler.h"

#include <qpdf/Buffer.hh>

#include <cmath>
#include <exception>
#include <optional>
#include <string>

namespace {

// The image's single filter: "" for none, else its name; nothing for a chain or a bad value.
std::optional<std::string> singleFilter(QPDFObjectHandle dict)
{
    QPDFObjectHandle filter = dict.getKey("/Filter");
    if (filter.isNull())
        return std::string();
    if (filter.isArray()) {
        if (filter.getArrayNItems() == 0)
            return std::string();
        if (filter.getArrayNItems() != 1)
            return std::nullopt;
        filter = filter.getArrayItem(0);
    }
    if (!filter.isName())
        return std::nullopt;
    const std::string name = filter.getName();
    if (name == "/FlateDecode" || name == "/Fl")
        return std::string("/FlateDecode");
    if (name == "/DCTDecode" || name == "/DCT")
        return std::string("/DCTDecode");
    return std::nullopt;
}

int integerKey(QPDFObjectHandle dict, const char* key)
{
    QPDFObjectHandle value = dict.getKey(key);
    if (!value.isInteger())
        return -1;
    const long long v = value.getIntValue();
    return v < 1 || v > 1'000'000 ? -1 : static_cast<int>(v);
}

// The default /Decode for the components, or none at all.
bool plainDecode(QPDFObjectHandle dict, int components)
{
    QPDFObjectHandle decode = dict.getKey("/Decode");
    if (decode.isNull())
        return true;
    if (!decode.isArray() || decode.getArrayNItems() != 2 * components)
        return false;
    for (int i = 0; i < 2 * components; ++i) {
        QPDFObjectHandle v = decode.getArrayItem(i);
        if (!v.isNumber() || v.getNumericValue() != (i % 2 == 0 ? 0.0 : 1.0))
            return false;
    }
    return true;
}

struct Shape {
    int width = 0;
    int height = 0;
    int components = 0;
    std::string filter;
};

// The shape of an image this class can decode, or nothing.
std::optional<Shape> shapeOf(QPDFObjectHandle dict, bool isMask)
{
    if (!dict.getKey("/Subtype").isNameAndEquals("/Image"))
        return std::nullopt;
    if (dict.getKey("/ImageMask").isBool() && dict.getKey("/ImageMask").getBoolValue())
        return std::nullopt;
    if (integerKey(dict, "/BitsPerComponent") != 8)
        return std::nullopt;
    Shape shape;
    QPDFObjectHandle space = dict.getKey("/ColorSpace");
    if (isMask && space.isNull())
        shape.components = 1; // a soft mask is gray whatever it says
    else if (space.isNameAndEquals("/DeviceGray") || space.isNameAndEquals("/G"))
        shape.components = 1;
    else if (!isMask && (space.isNameAndEquals("/DeviceRGB") || space.isNameAndEquals("/RGB")))
        shape.components = 3;
    else
        return std::nullopt;
    if (!plainDecode(dict, shape.components))
        return std::nullopt;
    shape.width = integerKey(dict, "/Width");
    shape.height = integerKey(dict, "/Height");
    if (shape.width < 1 || shape.height < 1 ||
        static_cast<long long>(shape.width) * shape.height > ImageRecoder::kMaxPixels)
        return std::nullopt;
    const std::optional<std::string> filter = singleFilter(dict);
    if (!filter)
        return std::nullopt;
    shape.filter = *filter;
    return shape;
}

std::string bytesOf(const std::shared_ptr<Buffer>& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

// The image's samples at no less than minWidth × minHeight (JPEGs may come out scaled
// down by the decoder already); nothing when the data does not decode to the size it claims.
std::optional<Raster> decodeSamples(QPDFObjectHandle image, const Shape& shape, JpegCodec& jpeg, int minWidth,
                                    int minHeight)
{
    if (shape.filter == "/DCTDecode")
        return jpeg.decode(bytesOf(image.getRawStreamData()), shape.width, shape.height, shape.components,
                           minWidth, minHeight);
    Raster raster;
    raster.width = shape.width;
    raster.height = shape.height;
    raster.components = shape.components;
    // Throws when qpdf cannot decode the data; a short result is a damaged stream.
    std::shared_ptr<Buffer> data = image.getStreamData(qpdf_dl_generalized);
    if (data->getSize() < raster.expectedSize())
        return std::nullopt;
    const auto* bytes = data->getBuffer();
    raster.samples.assign(bytes, bytes + raster.expectedSize());
    return raster;
}

void setSize(QPDFObjectHandle dict, int width, int height)
{
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(height));
    dict.removeKey("/DecodeParms");
}

} // namespace

bool ImageRecoder::recode(QPDFObjectHandle image, const PlacementScanner::Placement& placement)
{
    try {
        QPDFObjectHandle dict = image.getDict();
        const std::optional<Shape> shape = shapeOf(dict, false);
        if (!shape)
            return false;
        // A colour-key mask names exact colours, which JPEG does not keep.
        QPDFObjectHandle mask = dict.getKey("/Mask");
        if (!mask.isNull() && !mask.isStream())
            return false;
        QPDFObjectHandle softMask = dict.getKey("/SMask");
        std::optional<Shape> maskShape;
        if (!softMask.isNull()) {
            if (!softMask.isStream() || !softMask.getDict().getKey("/Matte").isNull())
                return false;
            maskShape = shapeOf(softMask.getDict(), true);
            if (!maskShape)
                return false;
        }

        // The pixels the image needs at its largest drawn size.
        const double wantWidth = std::ceil(placement.widthPoints / 72.0 * m_ppi);
        const double wantHeight = std::ceil(placement.heightPoints / 72.0 * m_ppi);
        if (!std::isfinite(wantWidth) || !std::isfinite(wantHeight))
            return false;
        const double scale = std::max(wantWidth / shape->width, wantHeight / shape->height);
        // At or near the resolution already: re-encoding would only lose quality.
        if (!(scale < 0.95))
            return false;
        const int width = std::max(1, static_cast<int>(std::lround(shape->width * scale)));
        const int height = std::max(1, static_cast<int>(std::lround(shape->height * scale)));

        std::optional<Raster> samples = decodeSamples(image, *shape, m_jpeg, width, height);
        if (!samples)
            return false;
        std::optional<Raster> maskSamples;
        const bool maskPending = maskShape && !m_masksDone.count(softMask.getObjGen());
        if (maskPending) {
            maskSamples = decodeSamples(softMask, *maskShape, m_jpeg, width, height);
            if (!maskSamples)
                return false;
        }
        const Raster small = Resampler::shrink(*samples, width, height);
        samples.reset();
        const std::optional<std::string> encoded = m_jpeg.encode(small, m_quality);
        if (!encoded || encoded->size() >= image.getRawStreamData()->getSize())
            return false;

        image.replaceStreamData(*encoded, QPDFObjectHandle::newName("/DCTDecode"), QPDFObjectHandle::newNull());
        setSize(dict, small.width, small.height);
        if (maskPending) {
            const Raster smallMask = Resampler::shrink(*maskSamples, width, height);
            std::string bytes(smallMask.samples.begin(), smallMask.samples.end());
            // Stored unfiltered here; the writer compresses it with flate.
            softMask.replaceStreamData(bytes, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            setSize(softMask.getDict(), smallMask.width, smallMask.height);
            m_masksDone.insert(softMask.getObjGen());
        }
        return true;
    } catch (const std::exception&) {
        // Damaged data: the image stays as it was.
        return false;
    }
}
