#include "core/converter/PdfHandleCallback.h"

namespace Converter {

PdfHandleCallback::~PdfHandleCallback() = default;

} // namespace Converter
