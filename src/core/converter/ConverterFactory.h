#pragma once
// Turns a working zone into the converter and parameter of its jobs. The PDF zones (see
// WorkingZone) get the PDF converter and their operation; every other zone gets empty pointers.

#include "core/converter/AbstractConverter.h"
#include "core/converter/AbstractConverterParameter.h"

#include <memory>

namespace Converter {

class ConverterFactory {
public:
    // The extension of everything the PDF zones write.
    static constexpr const wchar_t* kPdfExtension = L"pdf";

    // One process-wide factory, made on first use.
    static ConverterFactory& instance();

    // The converter kind of a zone: 0 to 0, 1 to 3, 2 to 7 to 5, 8 to 6, the PDF zones to their
    // table's kind (4), 17 to 1, any other to 2. Only kind 4 (the PDF converter) exists here.
    static int kindOfZone(int zone);

    std::shared_ptr<AbstractConverter> createConverter(int zone) const;
    std::shared_ptr<AbstractConverterParameter> createParameter(int zone) const;

private:
    ConverterFactory() = default;
};

std::shared_ptr<AbstractConverter> createConverter(int zone);
std::shared_ptr<AbstractConverterParameter> createParameter(int zone);

} // namespace Converter
