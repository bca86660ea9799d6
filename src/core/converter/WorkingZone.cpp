#include "core/converter/WorkingZone.h"

#include "core/app/TextId.h"
#include "core/converter/AbstractConverter.h"
#include "core/converter/PdfHandleParameter.h"

namespace {

using Converter::PdfHandleParameter;
constexpr int kPdfKind = Converter::AbstractConverter::kPdfKind;

const WorkingZone::Info kZones[] = {
    {WorkingZone::Extract, L"pdfextractpage_lst", WorkingZone::RowForm::WithPage, TextId::ExtractSuffix,
     PdfHandleParameter::Extract, kPdfKind, L"Extraction", L"抽取", L"Extraction", L"抽取"},
    {WorkingZone::Compress, L"pdfcompress_lst", WorkingZone::RowForm::Split, TextId::CompressSuffix,
     PdfHandleParameter::Compress, kPdfKind, L"Compress", L"压缩", L"Compression", L"压缩"},
    {WorkingZone::Decrypt, L"pdfdecrypt_lst", WorkingZone::RowForm::Split, TextId::DecryptSuffix,
     PdfHandleParameter::Decrypt, kPdfKind, L"Decrypt", L"解密", L"Decryption", L"解密"},
    {WorkingZone::Merge, L"pdfmerge_lst", WorkingZone::RowForm::WithPage, TextId::MergedSuffix,
     PdfHandleParameter::Merge, kPdfKind, L"Merge", L"合并", L"Merge", L"合并"},
    {WorkingZone::Split, L"pdfsplit_lst", WorkingZone::RowForm::Split, 0,
     PdfHandleParameter::Split, kPdfKind, L"Split", L"分割", L"Split", L"分割"},
};

} // namespace

const WorkingZone::Info* WorkingZone::info(int zone)
{
    return isPdf(zone) ? &kZones[zone - kFirst] : nullptr;
}

int WorkingZone::ofList(const std::wstring& listName)
{
    for (const Info& zone : kZones)
        if (listName == zone.listName)
            return zone.zone;
    return -1;
}
