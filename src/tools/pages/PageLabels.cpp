#include "PageLabels.h"

#include <qpdf/QPDFPageLabelDocumentHelper.hh>

namespace {

// A label dictionary that belongs to no document (its values are names, numbers and strings).
QPDFObjectHandle detached(QPDFObjectHandle label)
{
    if (label.isInteger())
        return QPDFObjectHandle::newInteger(label.getIntValue());
    QPDFObjectHandle copy = QPDFObjectHandle::newDictionary();
    if (!label.isDictionary())
        return copy;
    for (const std::string& key : label.getKeys()) {
        QPDFObjectHandle value = label.getKey(key);
        if (value.isName())
            copy.replaceKey(key, QPDFObjectHandle::newName(value.getName()));
        else if (value.isInteger())
            copy.replaceKey(key, QPDFObjectHandle::newInteger(value.getIntValue()));
        else if (value.isString())
            copy.replaceKey(key, QPDFObjectHandle::newString(value.getStringValue()));
    }
    return copy;
}

} // namespace

void writePageLabels(QPDF& out, const std::vector<PageOrigin>& origins)
{
    bool labelled = false;
    for (const PageOrigin& origin : origins)
        labelled = labelled || origin.source->labels().hasPageLabels();
    if (!labelled) {
        out.getRoot().removeKey("/PageLabels");
        return;
    }
    // One range per run of consecutive pages of one source; the pages of a source without
    // labels keep their page numbers.
    std::vector<QPDFObjectHandle> labels;
    for (std::size_t first = 0; first < origins.size();) {
        std::size_t last = first;
        while (last + 1 < origins.size() && origins[last + 1].source == origins[first].source &&
               origins[last + 1].page == origins[last].page + 1)
            ++last;
        QPDFPageLabelDocumentHelper& source = origins[first].source->labels();
        if (source.hasPageLabels()) {
            source.getLabelsForPageRange(origins[first].page, origins[last].page,
                                         static_cast<long long>(first), labels);
        } else {
            QPDFObjectHandle plain = QPDFObjectHandle::newDictionary();
            plain.replaceKey("/S", QPDFObjectHandle::newName("/D"));
            plain.replaceKey("/St", QPDFObjectHandle::newInteger(origins[first].page + 1));
            labels.push_back(QPDFObjectHandle::newInteger(static_cast<long long>(first)));
            labels.push_back(plain);
        }
        first = last + 1;
    }
    QPDFObjectHandle nums = QPDFObjectHandle::newArray();
    for (const QPDFObjectHandle& label : labels)
        nums.appendItem(detached(label));
    QPDFObjectHandle tree = QPDFObjectHandle::newDictionary();
    tree.replaceKey("/Nums", nums);
    out.getRoot().replaceKey("/PageLabels", tree);
}
