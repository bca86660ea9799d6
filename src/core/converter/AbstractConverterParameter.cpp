#include "core/converter/AbstractConverterParameter.h"

namespace Converter {

AbstractConverterParameter::~AbstractConverterParameter() = default;

} // namespace Converter
