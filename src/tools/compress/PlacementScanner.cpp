#include "PlacementScanner.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

bool numbers(const std::vector<QPDFObjectHandle>& operands, std::size_t count, double* out)
{
    if (operands.size() < count)
        return false;
    const std::size_t first = operands.size() - count;
    for (std::size_t i = 0; i < count; ++i) {
        QPDFObjectHandle value = operands[first + i];
        if (!value.isNumber())
            return false;
        out[i] = value.getNumericValue();
        if (!std::isfinite(out[i]))
            return false;
    }
    return true;
}

Matrix matrixOf(QPDFObjectHandle array)
{
    if (!array.isArray() || array.getArrayNItems() != 6)
        return Matrix();
    double v[6];
    for (int i = 0; i < 6; ++i) {
        QPDFObjectHandle item = array.getArrayItem(i);
        if (!item.isNumber() || !std::isfinite(item.getNumericValue()))
            return Matrix();
        v[i] = item.getNumericValue();
    }
    return Matrix(v[0], v[1], v[2], v[3], v[4], v[5]);
}

} // namespace

class PlacementScanner::Callbacks : public QPDFObjectHandle::ParserCallbacks {
public:
    Callbacks(PlacementScanner& scanner, QPDFObjectHandle resources, const Matrix& ctm, int depth)
        : m_scanner(scanner), m_resources(resources), m_ctm(ctm), m_depth(depth)
    {
    }

    void handleObject(QPDFObjectHandle object) override
    {
        if (!object.isOperator()) {
            // Only the last few operands matter; a hostile stream may push millions.
            if (m_operands.size() >= 16)
                m_operands.erase(m_operands.begin());
            m_operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "q") {
            if (m_saved.size() < kMaxSavedStates)
                m_saved.push_back(m_ctm);
            else
                ++m_lostSaves;
        } else if (op == "Q") {
            if (m_lostSaves > 0) {
                --m_lostSaves;
            } else if (!m_saved.empty()) {
                m_ctm = m_saved.back();
                m_saved.pop_back();
            }
        } else if (op == "cm") {
            double v[6];
            if (numbers(m_operands, 6, v))
                m_ctm = Matrix(v[0], v[1], v[2], v[3], v[4], v[5]).times(m_ctm);
        } else if (op == "Do" && !m_operands.empty() && m_operands.back().isName()) {
            QPDFObjectHandle xobjects = m_resources.isDictionary() ? m_resources.getKey("/XObject") : QPDFObjectHandle();
            if (xobjects.isDictionary()) {
                QPDFObjectHandle xobject = xobjects.getKey(m_operands.back().getName());
                if (xobject.isStream())
                    m_scanner.drawn(xobject, m_resources, m_ctm, m_depth);
            }
        }
        m_operands.clear();
    }

    void handleEOF() override {}

private:
    PlacementScanner& m_scanner;
    QPDFObjectHandle m_resources;
    Matrix m_ctm;
    int m_depth;
    std::vector<QPDFObjectHandle> m_operands;
    std::vector<Matrix> m_saved;
    std::size_t m_lostSaves = 0;
};

void PlacementScanner::scanPage(QPDFPageObjectHelper page, int pageNumber)
{
    m_pageNumber = pageNumber;
    m_formCalls = 0;
    m_formsOnPath.clear();
    QPDFObjectHandle resources = page.getAttribute("/Resources", false);
    scanStream(QPDFObjectHandle(), resources, Matrix(), 0, true, &page);
}

void PlacementScanner::scanStream(QPDFObjectHandle stream, QPDFObjectHandle resources, const Matrix& ctm,
                                  int depth, bool isPage, QPDFPageObjectHelper* page)
{
    Callbacks callbacks(*this, resources, ctm, depth);
    try {
        if (isPage)
            page->parseContents(&callbacks);
        else
            stream.parseAsContents(&callbacks);
    } catch (const std::exception&) {
        // Whatever this stream would have drawn after the fault is not known.
        markAllUnknown(resources);
    }
}

void PlacementScanner::drawn(QPDFObjectHandle xobject, QPDFObjectHandle resources, const Matrix& ctm, int depth)
{
    QPDFObjectHandle dict = xobject.getDict();
    QPDFObjectHandle subtype = dict.getKey("/Subtype");
    if (subtype.isNameAndEquals("/Image")) {
        Placement& place = m_placements[xobject.getObjGen()];
        if (place.firstPage == 0)
            place.firstPage = m_pageNumber;
        place.widthPoints = std::max(place.widthPoints, ctm.xScale());
        place.heightPoints = std::max(place.heightPoints, ctm.yScale());
        return;
    }
    if (!subtype.isNameAndEquals("/Form"))
        return;
    QPDFObjectHandle formResources = dict.getKey("/Resources");
    if (!formResources.isDictionary())
        formResources = resources; // older files let a form use the page's resources
    const QPDFObjGen id = xobject.getObjGen();
    const bool onPath = std::find(m_formsOnPath.begin(), m_formsOnPath.end(), id) != m_formsOnPath.end();
    if (onPath || depth >= kMaxFormDepth || ++m_formCalls > kMaxFormCallsPerPage) {
        markAllUnknown(formResources);
        return;
    }
    m_formsOnPath.push_back(id);
    scanStream(xobject, formResources, matrixOf(dict.getKey("/Matrix")).times(ctm), depth + 1, false, nullptr);
    m_formsOnPath.pop_back();
}

void PlacementScanner::markAllUnknown(QPDFObjectHandle resources)
{
    if (!resources.isDictionary())
        return;
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    if (!xobjects.isDictionary())
        return;
    for (const std::string& key : xobjects.getKeys()) {
        QPDFObjectHandle xobject = xobjects.getKey(key);
        if (xobject.isStream() && xobject.getDict().getKey("/Subtype").isNameAndEquals("/Image"))
            m_unknown.insert(xobject.getObjGen());
    }
}
