#include "core/converter/PdfHandleConverter.h"

#include "core/common/Utils.h"
#include "core/converter/InputElement.h"
#include "core/converter/JobFailure.h"
#include "core/converter/OutputLeftovers.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PageToolSplitter.h"
#include "core/converter/PdfHandleCallback.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/PdfSplitter.h"

#include <new>
#include <stdexcept>

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
        // Whatever goes wrong, the row gets its result and the worker thread lives on: a file
        // can make a plan or a text too big for memory.
        try {
            ok = runOperation(type, *pdfParameter, input, path, output, slot, progress, error);
        } catch (const std::bad_alloc&) {
            ok = false;
            setFailure(&error, path, FailureReason::None, L"not enough memory for this job");
        } catch (const std::exception& e) {
            ok = false;
            setFailure(&error, path, FailureReason::None, Utils::utf8ToWide(e.what()));
        }
    }

    if (!ok) {
        error.code = ConvertError::kPdfFailure;
        error.message = path;
        callback->onError(error, kSourceName, kSourceLine);
    }
    callback->onFinished(ok, path, output);
}

bool PdfHandleConverter::runOperation(int type, const PdfHandleParameter& pdfParameter,
                                      const std::shared_ptr<InputElement>& input, const std::wstring& path,
                                      const std::wstring& output, ProcessSlot* slot,
                                      PdfHandleCallback* progress, ConvertError& error)
{
    bool ok = false;
    {
        if (progress)
            progress->onProgress(type, 0, 0);
        // A split cleans its own folder when it opens it.
        if (type != PdfHandleParameter::Split)
            removeStaleLeftovers(Utils::fromFsPath(Utils::toFsPath(output).parent_path()));
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
            ok = mergePdfs(pdfParameter.mergeList(), output, slot, &error, pdfParameter.alternate());
            break;
        case PdfHandleParameter::Split: {
            const auto report = [&](int current, int total) {
                if (progress)
                    progress->onProgress(PdfHandleParameter::Split, current, total);
            };
            if (PageToolSplitter::handles(*input)) {
                PageToolSplitter splitter(*input, output, slot, report);
                ok = splitter.run(&error);
                if (ok && progress && !splitter.oversizePages().empty())
                    progress->onOversizePages(splitter.oversizePages());
            } else
                ok = PdfSplitter(*input, output, slot, report).run(&error);
            break;
        }
        default:
            setFailure(&error, path, FailureReason::InvalidParameters,
                       L"unknown operation " + std::to_wstring(type));
            break;
        }
    }
    return ok;
}

} // namespace Converter
