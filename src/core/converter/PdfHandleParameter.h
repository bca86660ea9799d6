#pragma once
// Which PDF operation a job runs, and for a merge the inputs with their page ranges.

#include "core/converter/AbstractConverterParameter.h"

#include <string>
#include <utility>
#include <vector>

namespace Converter {

class PdfHandleParameter : public AbstractConverterParameter {
public:
    // Operation types, in the order of the working zones (WorkingZone::Info::operation).
    enum Type { Extract = 0, Compress = 1, Decrypt = 2, Merge = 3, Split = 4 };

    // (file path, page range text such as "3-7"), in merge order.
    using MergeList = std::vector<std::pair<std::wstring, std::wstring>>;

    explicit PdfHandleParameter(int type) : m_type(type) {}
    ~PdfHandleParameter() override;

    int type() const { return m_type; }
    const MergeList& mergeList() const { return m_mergeList; }
    void setMergeList(MergeList list) { m_mergeList = std::move(list); }
    // A merge that takes one page of each entry in turn instead of each entry whole.
    bool alternate() const { return m_alternate; }
    void setAlternate(bool alternate) { m_alternate = alternate; }

private:
    int m_type;
    MergeList m_mergeList;
    bool m_alternate = false;
};

} // namespace Converter
