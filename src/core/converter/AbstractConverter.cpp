#include "converter/AbstractConverter.h"

namespace Converter {

AbstractConverter::~AbstractConverter() = default;

} // namespace Converter
