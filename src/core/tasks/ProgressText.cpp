#include "core/tasks/ProgressText.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/converter/PdfHandleParameter.h"

using Converter::PdfHandleParameter;

std::wstring progressText(int type, int current, int total)
{
    if (current == 0)
        return type >= PdfHandleParameter::Extract && type <= PdfHandleParameter::Split
                   ? Glossary::text(TextId::ExtractingPdf + type) : std::wstring();
    if (type == PdfHandleParameter::Split)
        return Glossary::text(Glossary::TextRequest(TextId::SplittingPage,
                                                    {std::to_wstring(current), std::to_wstring(total)}));
    if (type == PdfHandleParameter::Compress)
        return Glossary::text(Glossary::TextRequest(TextId::CompressingPage,
                                                    {std::to_wstring(current), std::to_wstring(total)}));
    return {};
}
