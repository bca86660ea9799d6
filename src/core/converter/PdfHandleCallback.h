#pragma once
// The PDF converter's callback: adds progress in pages.

#include "core/converter/AbstractConverterCallback.h"

#include <vector>

namespace Converter {

class PdfHandleCallback : public AbstractConverterCallback {
public:
    ~PdfHandleCallback() override;

    // type is the operation type; current and total are page numbers, both 0 at the start.
    virtual void onProgress(int type, int current, int total) = 0;
    // After a split by size that wrote them, before onFinished: the pages that are each a
    // piece of their own over the size, in page order. Not called when there are none.
    virtual void onOversizePages(const std::vector<int>& pages);
};

} // namespace Converter
