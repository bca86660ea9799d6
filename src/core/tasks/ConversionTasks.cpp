#include "core/tasks/ConversionTasks.h"

#include "core/common/AlternateSignalStack.h"
#include "core/common/Utils.h"
#include "core/converter/InputElement.h"
#include "core/converter/OutputNameClaims.h"
#include "core/converter/PdfHandleConverter.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/converter/WorkingZone.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/platform/DebugLog.h"
#include "core/tasks/PdfHandleConverterCallback.h"
#include "core/tasks/PdfHandleMergeCallback.h"
#include "core/tasks/RowRegistry.h"
#include "core/tasks/SavedOutputPath.h"
#include "core/tasks/TaskPayloads.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <thread>

namespace ConversionTasks {

namespace {

using namespace WindowMessages;

void postStatus(WindowHandle window, int step, RowId row)
{
    MessageSink::current().post(window, WM_FILE_CHECK_STATUS, step, std::make_unique<RowPayload>(row));
}

bool isPdf(const std::wstring& path)
{
    std::wstring extension = Utils::getFileExtension(path);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension == L"pdf";
}

void countPagesStep(RowRegistry& registry, WindowHandle window, RowId row, RowEntry copy)
{
    if (registry.stopping() || !registry.isRegistered(row))
        return;
    postStatus(window, InspectionStep::CountingPages, row);
    const int pages = Converter::countPages(copy.path, &registry.slot(RowRegistry::kInspectionSlot));
    registry.withRow(row, [&](RowEntry& entry) {
        copy.pageCount = pages;
        copy.inspected = true;
        entry = copy;
        postStatus(window, InspectionStep::PageCountStored, row);
    });
}

bool needsPassword(const ConvertError& failure)
{
    return failure.reason != FailureReason::NotAPdf && failure.reason != FailureReason::CannotOpenInput &&
           failure.reason != FailureReason::CannotStartQpdf;
}

std::wstring rangeText(const RowEntry& entry)
{
    const int first = entry.reversed ? entry.toPage : entry.fromPage;
    const int last = entry.reversed ? entry.fromPage : entry.toPage;
    return std::to_wstring(first) + L"-" + std::to_wstring(last);
}

std::shared_ptr<Converter::InputElement> inputOf(const RowEntry& entry, int zone)
{
    auto input = std::make_shared<Converter::InputElement>(entry.path, entry.fromPage, entry.toPage);
    if (zone == WorkingZone::Split) {
        input->setPageCount(entry.pageCount);
        using Converter::InputElement;
        if (entry.splitMode == InputElement::kSplitByBookmarks) {
            input->setSplitMode(InputElement::kSplitByBookmarks);
            input->setBookmarkLevel(entry.bookmarkLevel);
        } else if (entry.splitMode == InputElement::kSplitBySize) {
            input->setSplitMode(InputElement::kSplitBySize);
            input->setPieceBytes(entry.pieceBytes);
        } else if (entry.splitMode != 0) {
            input->setSplitMode(InputElement::kSplitEvery);
            input->setPagesPerPiece(entry.pagesPerPiece);
        } else {
            input->setSplitMode(InputElement::kSplitAtPoints);
            input->setSplitPoints(entry.splitPoints);
        }
    }
    if (zone == WorkingZone::Compress)
        input->setCompressionLevel(Converter::compressionLevelAt(entry.compressionLevel));
    return input;
}

void runMerge(std::shared_ptr<Converter::AbstractConverter> converter,
              std::shared_ptr<Converter::AbstractConverterParameter> parameter,
              std::shared_ptr<Converter::AbstractConverterCallback> callback, int zone,
              WindowHandle window, RowRegistry& registry, const std::shared_ptr<RowRegistry>& shared)
{
    auto* mergeCallback = dynamic_cast<PdfHandleMergeCallback*>(callback.get());
    auto* pdfParameter = dynamic_cast<Converter::PdfHandleParameter*>(parameter.get());
    Converter::PdfHandleParameter::MergeList list;
    std::shared_ptr<Converter::InputElement> file;
    registry.locked([&](std::vector<RowRegistry::Row>& rows) {
        for (const auto& [row, entry] : rows) {
            if (entry.zone != zone || !entry.pending)
                continue;
            list.emplace_back(entry.path, rangeText(entry));
            if (!file)
                file = std::make_shared<Converter::InputElement>(entry.path, entry.fromPage, entry.toPage);
            CommonListItemCallback rowCallback(window, PdfHandleMergeCallback::kListName, shared);
            rowCallback.setRow(row);
            if (mergeCallback)
                mergeCallback->addRowCallback(rowCallback);
        }
    });
    // Outside the lock: naming the output may create the save folder and file an error report.
    if (file && pdfParameter && !registry.stopping()) {
        const std::wstring output = Converter::makeOutputPath(zone, file->path(), parameter->targetExtension());
        pdfParameter->setMergeList(std::move(list));
        converter->run(file, output, parameter, callback);
    }
    MessageSink::current().post(window, WM_RUN_FINISHED, WorkingZone::Merge,
                                std::make_unique<NotifyNumber>(kRunFinishedParam));
}

} // namespace

namespace {

void inspectOne(RowRegistry& reg, WindowHandle window, RowId row, RowEntry copy)
{
    if (!reg.isRegistered(row))
        return;
    if (!isPdf(copy.path)) {
        reg.withRow(row, [](RowEntry& entry) { entry.inspected = true; });
        return;
    }
    Converter::ProcessSlot& slot = reg.slot(RowRegistry::kInspectionSlot);
    postStatus(window, InspectionStep::CheckingEncryption, row);
    if (!Converter::queryEncryption(copy.path, &slot)) {
        countPagesStep(reg, window, row, copy);
        return;
    }
    if (reg.stopping() || !reg.isRegistered(row))
        return;
    postStatus(window, InspectionStep::Decrypting, row);
    std::wstring decrypted;
    ConvertError failure;
    if (Converter::decryptPdf(copy.path, decrypted, std::wstring(), &slot, &failure)) {
        const bool stored = reg.withRow(row, [&](RowEntry& entry) {
            copy.path = decrypted;
            entry = copy;
        });
        if (stored)
            countPagesStep(reg, window, row, copy);
        else // the row went while qpdf ran: no row will ever release its copy
            Converter::PrivateTempFolder::instance().removeCopy(decrypted);
        return;
    }
    if (!needsPassword(failure)) {
        // No password can open a file that is not a PDF: no prompt, the count fails.
        countPagesStep(reg, window, row, copy);
        return;
    }
    postStatus(window, InspectionStep::PasswordNeeded, row);
    if (!reg.passwordHandshake().waitForAnswer())
        return; // released by shutdown: the caller sees the stop
    // The prompt may have replaced the path with a decrypted copy, or removed the row.
    if (const auto fresh = reg.copy(row))
        countPagesStep(reg, window, row, *fresh);
}

} // namespace

void inspectFiles(std::shared_ptr<RowRegistry> registry, WindowHandle window, int zone)
{
    RowRegistry& reg = *registry;
    for (;;) {
        if (reg.stopping())
            return;
        const auto next = reg.nextNotInspected(zone);
        if (!next) {
            MessageSink::current().post(window, WM_FILE_CHECK_DONE, zone, nullptr);
            return;
        }
        const RowId row = next->first;
        RowEntry copy = next->second;
        reg.setCurrentRow(RowRegistry::kInspectionSlot, row);
        try {
            inspectOne(reg, window, row, copy);
        } catch (const std::exception& e) {
            // The row fails to count ("Fail To Get Page"); the worker goes on with the next.
            Platform::debugLog(std::string("inspection: ") + e.what() + "\n");
            reg.withRow(row, [&](RowEntry& entry) {
                entry.pageCount = -1;
                entry.inspected = true;
                postStatus(window, InspectionStep::PageCountStored, row);
            });
        }
        // No row is under inspection between rows: removing a finished one ends nothing.
        reg.setCurrentRow(RowRegistry::kInspectionSlot, 0);
    }
}

void runOneFile(std::shared_ptr<Converter::File> file, std::wstring output,
                std::shared_ptr<Converter::AbstractConverter> converter,
                std::shared_ptr<Converter::AbstractConverterParameter> parameter,
                std::shared_ptr<Converter::AbstractConverterCallback> callback)
{
    // The converter reports its own failures; nothing may end the process from here.
    try {
        converter->run(std::move(file), output, std::move(parameter), std::move(callback));
    } catch (const std::exception& e) {
        Platform::debugLog(std::string("conversion: ") + e.what() + "\n");
    }
}

void dispatchConversion(std::shared_ptr<Converter::AbstractConverter> converter,
                        std::shared_ptr<Converter::AbstractConverterParameter> parameter,
                        std::shared_ptr<Converter::AbstractConverterCallback> callback, int zone,
                        WindowHandle window, std::wstring listName,
                        std::shared_ptr<RowRegistry> registry)
{
    RowRegistry& reg = *registry;
    auto* pdfParameter = dynamic_cast<Converter::PdfHandleParameter*>(parameter.get());
    if (converter && converter->kind() == Converter::PdfHandleConverter::kKind && pdfParameter &&
        pdfParameter->type() == Converter::PdfHandleParameter::Merge) {
        runMerge(converter, parameter, callback, zone, window, reg, registry);
        return;
    }
    auto* rowCallback = dynamic_cast<CommonListItemCallback*>(callback.get());
    // Outputs of one run never overwrite each other or an input of the run.
    Converter::OutputNameClaims claims;
    for (const auto& [row, entry] : reg.rowsOfZone(zone)) {
        claims.reserve(entry.path);
        claims.reserve(entry.originalPath);
    }
    while (converter && parameter && callback && rowCallback && !reg.stopping()) {
        const auto next = reg.nextPending(zone);
        if (!next)
            break;
        const auto& [row, entry] = *next;
        auto file = inputOf(entry, zone);
        const std::wstring output =
            claims.claimOutput(Converter::makeOutputPath(zone, entry.path, parameter->targetExtension()), zone);
        rowCallback->setRow(row);
        reg.setCurrentRow(zone, row);
        std::thread runner = AlternateSignalStack::start(
            [=] { runOneFile(file, output, converter, parameter, callback); });
        runner.join();
        // A row whose result could not be stored (removed meanwhile) must not be found again.
        reg.withRow(row, [](RowEntry& e) { e.pending = false; });
    }
    const int finishedZone = zoneOfList(listName);
    if (finishedZone >= 0)
        MessageSink::current().post(window, WM_RUN_FINISHED, finishedZone,
                                    std::make_unique<NotifyNumber>(kRunFinishedParam));
}

int zoneOfList(const std::wstring& listName)
{
    // A merge reports its end itself (runMerge).
    const int zone = WorkingZone::ofList(listName);
    return zone == WorkingZone::Merge ? -1 : zone;
}

std::shared_ptr<Converter::AbstractConverterCallback> createCallback(
    int zone, WindowHandle window, std::shared_ptr<RowRegistry> registry)
{
    std::shared_ptr<Converter::AbstractConverterCallback> callback;
    if (zone == WorkingZone::Merge)
        callback = std::make_shared<PdfHandleMergeCallback>(window);
    else
        callback = std::make_shared<PdfHandleConverterCallback>(window, registry);
    if (zone >= 0 && zone < RowRegistry::kSlotCount)
        callback->setProcessSlot(&registry->slot(zone));
    return callback;
}

} // namespace ConversionTasks
