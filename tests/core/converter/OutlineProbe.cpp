#include "OutlineProbe.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFOutlineObjectHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <cstdlib>
#include <map>

namespace {

std::string level(std::vector<QPDFOutlineObjectHelper> items, const std::map<QPDFObjGen, int>& pages)
{
    std::string text;
    for (QPDFOutlineObjectHelper& item : items) {
        if (!text.empty())
            text += ", ";
        QPDFObjectHandle dest = item.getDest();
        if (dest.isDictionary())
            dest = dest.getKey("/D");
        std::string where = "?";
        if (dest.isArray() && dest.getArrayNItems() > 0 && dest.getArrayItem(0).isIndirect()) {
            const auto found = pages.find(dest.getArrayItem(0).getObjGen());
            if (found != pages.end())
                where = std::to_string(found->second);
        }
        text += item.getTitle() + "@" + where;
        const std::vector<QPDFOutlineObjectHelper> kids = item.getKids();
        if (!kids.empty())
            text += "[" + level(kids, pages) + "]";
    }
    return text;
}

} // namespace

std::string outlineOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    std::map<QPDFObjGen, int> pages;
    int position = 0;
    for (QPDFObjectHandle page : document.getAllPages())
        pages.emplace(page.getObjGen(), ++position);
    QPDFOutlineDocumentHelper outlines(document);
    return level(outlines.getTopLevelOutlines(), pages);
}

std::vector<int> pageNumbersOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    std::vector<int> numbers;
    for (QPDFObjectHandle page : document.getAllPages())
        numbers.push_back(page.getKey("/KorvexPage").isInteger() ? page.getKey("/KorvexPage").getIntValueAsInt() : -1);
    return numbers;
}

std::string pageLabelsOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    QPDFPageLabelDocumentHelper labels(document);
    std::string text;
    const auto count = static_cast<long long>(document.getAllPages().size());
    for (long long page = 0; page < count; ++page) {
        QPDFObjectHandle label = labels.getLabelForPage(page);
        QPDFObjectHandle style = label.getKey("/S");
        QPDFObjectHandle start = label.getKey("/St");
        text += (text.empty() ? "" : " ") + (style.isName() ? style.getName().substr(1) : "-") +
                std::to_string(start.isInteger() ? start.getIntValue() : 1);
    }
    return text;
}

std::string pageShapesOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    std::string text;
    for (QPDFObjectHandle page : document.getAllPages()) {
        QPDFPageObjectHelper helper(page);
        const QPDFObjectHandle::Rectangle box = helper.getMediaBox().getArrayAsRectangle();
        QPDFObjectHandle number = page.getKey("/KorvexPage");
        text += (text.empty() ? "" : " ") + std::to_string(number.isInteger() ? number.getIntValue() : -1) + ":" +
                std::to_string(static_cast<int>(box.urx - box.llx)) + "x" + std::to_string(static_cast<int>(box.ury - box.lly));
        QPDFObjectHandle rotate = helper.getAttribute("/Rotate", false);
        if (rotate.isInteger() && rotate.getIntValue() != 0)
            text += "r" + std::to_string(rotate.getIntValue());
        QPDFObjectHandle resources = helper.getAttribute("/Resources", false);
        if (!resources.isDictionary() || !resources.getKey("/Font").isDictionary() ||
            !resources.getKey("/Font").getKey("/F1").isDictionary())
            text += "!";
    }
    return text;
}

std::string formFieldsOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    QPDFAcroFormDocumentHelper forms(document);
    std::string text;
    int position = 0;
    for (QPDFObjectHandle page : document.getAllPages()) {
        ++position;
        for (QPDFAnnotationObjectHelper& widget : forms.getWidgetAnnotationsForPage(QPDFPageObjectHelper(page))) {
            text += (text.empty() ? "" : ", ") + forms.getFieldForAnnotation(widget).getFullyQualifiedName() + "@" +
                    std::to_string(position);
        }
    }
    return text;
}

std::vector<int> contentNumbersOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    std::vector<int> numbers;
    for (QPDFObjectHandle page : document.getAllPages()) {
        std::string text;
        for (QPDFObjectHandle& stream : QPDFPageObjectHelper(page).getPageContents()) {
            const std::shared_ptr<Buffer> data = stream.getStreamData();
            text.append(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
        }
        const std::size_t at = text.find("(Page ");
        numbers.push_back(at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 6));
    }
    return numbers;
}


std::string linksOf(const std::filesystem::path& pdf)
{
    QPDF document;
    document.processFile(pdf.c_str());
    std::map<QPDFObjGen, int> pages;
    const std::vector<QPDFObjectHandle> all = document.getAllPages();
    for (const QPDFObjectHandle& page : all)
        pages.emplace(page.getObjGen(), static_cast<int>(pages.size()) + 1);
    std::string text;
    for (QPDFObjectHandle page : all) {
        if (page.getObjGen() != all.front().getObjGen())
            text += "; ";
        QPDFObjectHandle annots = page.getKey("/Annots");
        for (int i = 0; annots.isArray() && i < annots.getArrayNItems(); ++i) {
            QPDFObjectHandle link = annots.getArrayItem(i);
            QPDFObjectHandle dest = link.getKey("/Dest");
            if (dest.isNull() && link.getKey("/A").isDictionary())
                dest = link.getKey("/A").getKey("/D");
            std::string where = "null";
            if (dest.isString()) {
                where = "(" + dest.getUTF8Value() + ")";
            } else if (dest.isArray() && dest.getArrayNItems() > 0 && dest.getArrayItem(0).isIndirect()) {
                const auto found = pages.find(dest.getArrayItem(0).getObjGen());
                where = found == pages.end() ? "?" : "@" + std::to_string(found->second);
            }
            text += (i ? " " : "") + where;
        }
    }
    return text;
}
