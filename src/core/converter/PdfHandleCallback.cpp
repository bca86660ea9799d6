#include "core/converter/PdfHandleCallback.h"

namespace Converter {

PdfHandleCallback::~PdfHandleCallback() = default;

void PdfHandleCallback::onOversizePages(const std::vector<int>&)
{
}

} // namespace Converter
