#include "core/converter/ConverterFactory.h"

#include "core/converter/PdfHandleConverter.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/WorkingZone.h"

namespace Converter {

ConverterFactory& ConverterFactory::instance()
{
    static ConverterFactory factory;
    return factory;
}

int ConverterFactory::kindOfZone(int zone)
{
    if (zone == 0)
        return 0;
    if (zone == 1)
        return 3;
    if (zone >= 2 && zone <= 7)
        return 5;
    if (zone == 8)
        return 6;
    if (const WorkingZone::Info* pdfZone = WorkingZone::info(zone))
        return pdfZone->converterKind;
    if (zone == 17)
        return 1;
    return 2;
}

std::shared_ptr<AbstractConverter> ConverterFactory::createConverter(int zone) const
{
    if (kindOfZone(zone) == PdfHandleConverter::kKind)
        return std::make_shared<PdfHandleConverter>();
    return nullptr;
}

std::shared_ptr<AbstractConverterParameter> ConverterFactory::createParameter(int zone) const
{
    const WorkingZone::Info* pdfZone = WorkingZone::info(zone);
    if (!pdfZone)
        return nullptr;
    auto parameter = std::make_shared<PdfHandleParameter>(pdfZone->operation);
    parameter->setTargetExtension(kPdfExtension);
    return parameter;
}

std::shared_ptr<AbstractConverter> createConverter(int zone)
{
    return ConverterFactory::instance().createConverter(zone);
}

std::shared_ptr<AbstractConverterParameter> createParameter(int zone)
{
    return ConverterFactory::instance().createParameter(zone);
}

} // namespace Converter
