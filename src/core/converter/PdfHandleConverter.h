#pragma once
// The converter of the five PDF working zones: extract, compress, decrypt, merge, split, each
// through qpdf.

#include "core/converter/AbstractConverter.h"

namespace Converter {

class PdfHandleConverter : public AbstractConverter {
public:
    static constexpr int kKind = kPdfKind;
    // Where failures say they were detected.
    static constexpr const char* kSourceName =
        "..\\..\\submodule\\converter\\Converters\\PdfTools\\PdfHandleConverter";
    static constexpr int kSourceLine = 109;

    PdfHandleConverter() : AbstractConverter(kKind) {}

    // file: an InputElement (for a merge any File: it only names the job); parameter: a
    // PdfHandleParameter; callback: a PdfHandleCallback for progress (any callback otherwise).
    // Reports onProgress(type, 0, 0), then on failure one onError (code 201, message = the
    // file's path), and always exactly one onFinished.
    void run(std::shared_ptr<File> file, const std::wstring& output,
             std::shared_ptr<AbstractConverterParameter> parameter,
             std::shared_ptr<AbstractConverterCallback> callback) override;
};

} // namespace Converter
