#pragma once
// The converter of the five PDF working zones: extract, compress, decrypt, merge, split, each
// through qpdf.

#include "core/converter/AbstractConverter.h"
#include "core/converter/ConvertError.h"

#include <memory>
#include <string>

namespace Converter {

class InputElement;
class PdfHandleCallback;
class PdfHandleParameter;
class ProcessSlot;

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

private:
    // The job itself; may throw (run turns that into the job's failure).
    static bool runOperation(int type, const PdfHandleParameter& parameter,
                             const std::shared_ptr<InputElement>& input, const std::wstring& path,
                             const std::wstring& output, ProcessSlot* slot, PdfHandleCallback* progress,
                             ConvertError& error);
};

} // namespace Converter
