#pragma once
// The PDF converter's callback: adds progress in pages.

#include "core/converter/AbstractConverterCallback.h"

namespace Converter {

class PdfHandleCallback : public AbstractConverterCallback {
public:
    ~PdfHandleCallback() override;

    // type is the operation type; current and total are page numbers, both 0 at the start.
    virtual void onProgress(int type, int current, int total) = 0;
};

} // namespace Converter
