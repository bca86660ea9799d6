#include "core/converter/PdfHandleParameter.h"

namespace Converter {

PdfHandleParameter::~PdfHandleParameter() = default;

} // namespace Converter
