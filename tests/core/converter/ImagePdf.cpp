#include "ImagePdf.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <turbojpeg.h>

#include <cmath>
#include <stdexcept>

namespace ImagePdf {

namespace {

using OH = QPDFObjectHandle;

// Photo-like samples: smooth shapes with grain, so flate cannot shrink them much.
std::string samples(int width, int height, int components, unsigned seed)
{
    std::string data(static_cast<std::size_t>(width) * height * components, '\0');
    unsigned state = seed * 2654435761u + 1;
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                state = state * 1103515245u + 12345u;
                const double wave = 110 * std::sin(x / (9.0 + 4 * c)) * std::cos(y / 13.0);
                const int grain = static_cast<int>((state >> 16) % 41) - 20;
                data[i++] = static_cast<char>(std::clamp(128 + static_cast<int>(wave) + grain, 0, 255));
            }
        }
    }
    return data;
}

std::string deflate(const std::string& data)
{
    Pl_Buffer buffer("deflated");
    Pl_Flate flate("deflate", &buffer, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
    flate.finish();
    std::unique_ptr<Buffer> out(buffer.getBuffer());
    return std::string(reinterpret_cast<const char*>(out->getBuffer()), out->getSize());
}

std::string jpeg(int width, int height)
{
    const std::string rgb = samples(width, height, 3, 7);
    tjhandle encoder = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (tjCompress2(encoder, reinterpret_cast<const unsigned char*>(rgb.data()), width, 0, height, TJPF_RGB, &out,
                    &size, TJSAMP_420, 60, 0) != 0)
        throw std::runtime_error("turbojpeg refused the test image");
    std::string result(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(encoder);
    return result;
}

OH imageStream(QPDF& pdf, const Image& image, unsigned seed)
{
    OH dict = OH::parse("<< /Type /XObject /Subtype /Image /BitsPerComponent 8 >>");
    dict.replaceKey("/KorvexName", OH::newString(image.name));
    dict.replaceKey("/Width", OH::newInteger(image.claimedWidth ? image.claimedWidth : image.width));
    dict.replaceKey("/Height", OH::newInteger(image.claimedHeight ? image.claimedHeight : image.height));
    std::string data;
    std::string filter = "/FlateDecode";
    switch (image.kind) {
    case Kind::Rgb:
    case Kind::RgbWithSoftMask:
        dict.replaceKey("/ColorSpace", OH::newName("/DeviceRGB"));
        data = samples(image.width, image.height, 3, seed);
        break;
    case Kind::Gray:
        dict.replaceKey("/ColorSpace", OH::newName("/DeviceGray"));
        data = samples(image.width, image.height, 1, seed);
        break;
    case Kind::Indexed: {
        std::string palette = samples(256, 1, 3, seed);
        dict.replaceKey("/ColorSpace", OH::parse("[/Indexed /DeviceRGB 255 <>]"));
        dict.getKey("/ColorSpace").setArrayItem(3, OH::newString(palette));
        data = samples(image.width, image.height, 1, seed);
        break;
    }
    case Kind::Bilevel:
        dict.replaceKey("/ColorSpace", OH::newName("/DeviceGray"));
        dict.replaceKey("/BitsPerComponent", OH::newInteger(1));
        data = samples((image.width + 7) / 8, image.height, 1, seed);
        break;
    case Kind::Jpeg:
        dict.replaceKey("/ColorSpace", OH::newName("/DeviceRGB"));
        data = jpeg(image.width, image.height);
        filter = "/DCTDecode";
        break;
    }
    if (filter == "/FlateDecode")
        data = deflate(data);
    if (image.truncated)
        data.resize(data.size() / 2);
    OH stream = pdf.newStream();
    stream.replaceStreamData(data, OH::newName(filter), OH::newNull());
    for (const std::string& key : dict.getKeys())
        stream.getDict().replaceKey(key, dict.getKey(key));
    if (image.kind == Kind::RgbWithSoftMask) {
        OH mask = pdf.newStream();
        mask.replaceStreamData(deflate(samples(image.width, image.height, 1, seed + 99)),
                               OH::newName("/FlateDecode"), OH::newNull());
        OH maskDict = mask.getDict();
        maskDict.replaceKey("/Type", OH::newName("/XObject"));
        maskDict.replaceKey("/Subtype", OH::newName("/Image"));
        maskDict.replaceKey("/ColorSpace", OH::newName("/DeviceGray"));
        maskDict.replaceKey("/BitsPerComponent", OH::newInteger(8));
        maskDict.replaceKey("/Width", OH::newInteger(image.width));
        maskDict.replaceKey("/Height", OH::newInteger(image.height));
        stream.getDict().replaceKey("/SMask", mask);
    }
    return stream;
}

std::string drawText(const std::string& name, const std::vector<std::pair<double, double>>& draws)
{
    std::string text;
    double y = 20;
    for (const auto& [w, h] : draws) {
        text += "q " + std::to_string(w) + " 0 0 " + std::to_string(h) + " 20 " + std::to_string(y) + " cm /" + name +
                " Do Q\n";
        y += 10;
    }
    return text;
}

std::string keyString(OH dict, const char* key)
{
    OH value = dict.getKey(key);
    return value.isString() ? value.getUTF8Value() : std::string();
}

} // namespace

void write(const std::filesystem::path& path, const std::vector<Image>& images, int pages)
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper helper(pdf);
    std::vector<OH> pageObjects;
    for (int n = 1; n <= pages; ++n) {
        OH page = pdf.makeIndirectObject(OH::parse("<< /Type /Page /MediaBox [0 0 612 792] /Resources << /XObject << >> >> >>"));
        pageObjects.push_back(page);
    }
    std::vector<std::string> content(static_cast<std::size_t>(pages));
    unsigned seed = 1;
    for (const Image& image : images) {
        OH& page = pageObjects.at(static_cast<std::size_t>(image.page - 1));
        OH xobjects = page.getKey("/Resources").getKey("/XObject");
        OH stream = imageStream(pdf, image, seed++);
        std::string& text = content[static_cast<std::size_t>(image.page - 1)];
        const std::string name = "Im" + std::to_string(seed);
        if (image.inForm) {
            OH form = pdf.newStream(drawText("I", image.draws));
            OH fd = form.getDict();
            fd.replaceKey("/Type", OH::newName("/XObject"));
            fd.replaceKey("/Subtype", OH::newName("/Form"));
            fd.replaceKey("/BBox", OH::parse("[0 0 2000 2000]"));
            fd.replaceKey("/Matrix", OH::parse("[" + std::to_string(image.formScale) + " 0 0 " +
                                               std::to_string(image.formScale) + " 0 0]"));
            fd.replaceKey("/Resources", OH::parse("<< /XObject << >> >>"));
            fd.getKey("/Resources").getKey("/XObject").replaceKey("/I", stream);
            xobjects.replaceKey("/F" + name, form);
            text += "q 1 0 0 1 10 10 cm /F" + name + " Do Q\n";
        } else {
            xobjects.replaceKey("/" + name, stream);
            text += drawText(name, image.draws);
        }
        if (image.storedTwice) {
            OH twin = imageStream(pdf, image, seed - 1);
            xobjects.replaceKey("/" + name + "b", twin);
            text += drawText(name + "b", image.draws);
        }
    }
    for (int n = 0; n < pages; ++n) {
        pageObjects[static_cast<std::size_t>(n)].replaceKey("/Contents", pdf.newStream(content[static_cast<std::size_t>(n)] + "BT ET\n"));
        helper.addPage(pageObjects[static_cast<std::size_t>(n)], false);
    }
    std::vector<QPDFPageObjectHelper> all = helper.getAllPages();
    OH first = all.at(0).getObjectHandle();
    OH second = all.at(pages > 1 ? 1 : 0).getObjectHandle();
    OH root = pdf.getRoot();
    OH outlines = pdf.makeIndirectObject(OH::parse("<< /Type /Outlines /Count 2 >>"));
    OH one = pdf.makeIndirectObject(OH::parse("<< /Title (One) >>"));
    OH two = pdf.makeIndirectObject(OH::parse("<< /Title (Two) >>"));
    one.replaceKey("/Parent", outlines);
    two.replaceKey("/Parent", outlines);
    one.replaceKey("/Next", two);
    two.replaceKey("/Prev", one);
    one.replaceKey("/Dest", OH::parse("[null /Fit]"));
    one.getKey("/Dest").setArrayItem(0, first);
    two.replaceKey("/Dest", OH::newString("second"));
    outlines.replaceKey("/First", one);
    outlines.replaceKey("/Last", two);
    root.replaceKey("/Outlines", outlines);
    OH dest = OH::parse("[null /Fit]");
    dest.setArrayItem(0, second);
    OH names = OH::parse("<< /Dests << /Names [(second) null] >> >>");
    names.getKey("/Dests").getKey("/Names").setArrayItem(1, dest);
    root.replaceKey("/Names", names);
    OH link = pdf.makeIndirectObject(OH::parse("<< /Type /Annot /Subtype /Link /Rect [0 0 50 50] >>"));
    link.replaceKey("/Dest", dest);
    first.replaceKey("/Annots", OH::newArray());
    first.getKey("/Annots").appendItem(link);

    // The writer keeps the name it was given, so the string must outlive it.
    const std::string name = path.string();
    QPDFWriter writer(pdf, name.c_str());
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setCompressStreams(false);
    writer.write();
}

std::map<std::string, Found> imagesOf(const std::filesystem::path& path)
{
    QPDF pdf;
    pdf.processFile(path.string().c_str());
    std::map<std::string, Found> result;
    for (OH object : pdf.getAllObjects()) {
        if (!object.isStream())
            continue;
        OH dict = object.getDict();
        const std::string name = keyString(dict, "/KorvexName");
        if (name.empty())
            continue;
        Found found;
        found.width = dict.getKey("/Width").isInteger() ? static_cast<int>(dict.getKey("/Width").getIntValue()) : -1;
        found.height = dict.getKey("/Height").isInteger() ? static_cast<int>(dict.getKey("/Height").getIntValue()) : -1;
        OH filter = dict.getKey("/Filter");
        if (filter.isArray() && filter.getArrayNItems() == 1)
            filter = filter.getArrayItem(0);
        found.filter = filter.isName() ? filter.getName() : std::string();
        OH mask = dict.getKey("/SMask");
        if (mask.isStream()) {
            found.maskWidth = static_cast<int>(mask.getDict().getKey("/Width").getIntValue());
            found.maskHeight = static_cast<int>(mask.getDict().getKey("/Height").getIntValue());
            OH mf = mask.getDict().getKey("/Filter");
            found.maskFilter = mf.isName() ? mf.getName() : (mf.isArray() && mf.getArrayNItems() == 1) ? mf.getArrayItem(0).getName() : std::string();
        }
        result[name] = found;
    }
    return result;
}

int copiesOf(const std::filesystem::path& path, const std::string& name)
{
    QPDF pdf;
    pdf.processFile(path.string().c_str());
    int count = 0;
    for (OH object : pdf.getAllObjects()) {
        if (object.isStream() && keyString(object.getDict(), "/KorvexName") == name)
            ++count;
    }
    return count;
}

std::vector<int> linkTargetsOf(const std::filesystem::path& path)
{
    QPDF pdf;
    pdf.processFile(path.string().c_str());
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
    std::map<QPDFObjGen, int> index;
    for (std::size_t i = 0; i < pages.size(); ++i)
        index[pages[i].getObjectHandle().getObjGen()] = static_cast<int>(i + 1);
    std::vector<int> targets;
    for (QPDFPageObjectHelper& page : pages) {
        for (QPDFAnnotationObjectHelper& annot : page.getAnnotations("/Link")) {
            OH dest = annot.getObjectHandle().getKey("/Dest");
            const bool resolved = dest.isArray() && dest.getArrayNItems() > 0 && dest.getArrayItem(0).isIndirect();
            targets.push_back(resolved ? index[dest.getArrayItem(0).getObjGen()] : 0);
        }
    }
    return targets;
}

} // namespace ImagePdf
