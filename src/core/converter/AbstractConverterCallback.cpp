#include "core/converter/AbstractConverterCallback.h"

namespace Converter {

AbstractConverterCallback::~AbstractConverterCallback() = default;

} // namespace Converter
