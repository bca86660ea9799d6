#include "core/converter/AbstractConverter.h"

namespace Converter {

AbstractConverter::~AbstractConverter() = default;

} // namespace Converter
