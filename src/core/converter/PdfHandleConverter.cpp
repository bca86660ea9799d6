#include "core/converter/PdfHandleConverter.h"

#include "core/converter/InputElement.h"
#include "core/converter/JobFailure.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PageToolSplitter.h"
#include "core/converter/PdfHandleCallback.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/PdfSplitter.h"

namespace Converter {

void PdfHandleConverter::run(std::shared_ptr<File> file, const std::wstring& output,
                             std::shared_ptr<AbstractConverterParameter> parameter,
                             std::shared_ptr<AbstractConverterCallback> callback)
{
    if (!callback)
        return;
    const auto input = std::dynamic_pointer_cast<InputElement>(file);
    const auto pdfParameter = std::dynamic_pointer_cast<PdfHandleParameter>(parameter);
    auto* progress = dynamic_cast<PdfHandleCallback*>(callback.get());
    ProcessSlot* slot = callback->processSlot();
    const std::wstring path = file ? file->path() : std::wstring();

    ConvertError error;
    bool ok = false;
    const int type = pdfParameter ? pdfParameter->type() : -1;
    const bool needsInput = type != PdfHandleParameter::Merge;
    if (!pdfParameter || (needsInput && !input)) {
        setFailure(&error, path, FailureReason::InvalidParameters, L"not a PDF job");
    } else {
        if (progress)
            progress->onProgress(type, 0, 0);
        switch (type) {
        case PdfHandleParameter::Extract:
            ok = extractPages(path, pageRangeText(input->fromPage(), input->toPage()), output, slot, &error);
            break;
        case PdfHandleParameter::Compress:
            ok = compressPdf(path, output, input->compressionLevel(), [&](int done, int count) {
                if (progress)
                    progress->onProgress(PdfHandleParameter::Compress, done, count);
            }, slot, &error);
            break;
        case PdfHandleParameter::Decrypt: {
            // Password-protected files were decrypted when they were added; never a password here.
            std::wstring target = output;
            ok = decryptPdf(path, target, std::wstring(), slot, &error);
            break;
        }
        case PdfHandleParameter::Merge:
            ok = mergePdfs(pdfParameter->mergeList(), output, slot, &error);
            break;
        case PdfHandleParameter::Split: {
            const auto report = [&](int current, int total) {
                if (progress)
                    progress->onProgress(PdfHandleParameter::Split, current, total);
            };
            if (PageToolSplitter::handles(*input))
                ok = PageToolSplitter(*input, output, slot, report).run(&error);
            else
                ok = PdfSplitter(*input, output, slot, report).run(&error);
            break;
        }
        default:
            setFailure(&error, path, FailureReason::InvalidParameters,
                       L"unknown operation " + std::to_wstring(type));
            break;
        }
    }

    if (!ok) {
        error.code = ConvertError::kPdfFailure;
        error.message = path;
        callback->onError(error, kSourceName, kSourceLine);
    }
    callback->onFinished(ok, path, output);
}

} // namespace Converter
