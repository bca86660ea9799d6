#include "CliJobs.h"

#include "ConsoleCallback.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/converter/CompressionSummary.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/JobFailure.h"
#include "core/converter/OutputLeftovers.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/WorkingZone.h"

#include <filesystem>

namespace {

using Converter::ConverterFactory;

} // namespace

int CliJobs::run()
{
    std::error_code ec;
    const std::filesystem::path folder = m_line.outFolder.empty()
                                             ? std::filesystem::current_path(ec)
                                             : std::filesystem::absolute(Utils::toFsPath(m_line.outFolder), ec);
    m_outFolder = Utils::fromFsPath(folder);
    if (m_line.command != CommandLine::Command::Info)
        Utils::createDeepDirectory(m_outFolder); // a folder that cannot be made fails each job with its reason

    // No output may replace an input of the same run.
    for (const CommandLine::Input& input : m_line.inputs)
        m_claims.reserve(input.path);

    bool allOk = true;
    switch (m_line.command) {
    case CommandLine::Command::Merge:
        return merge() ? 0 : 1;
    default:
        break;
    }
    for (const CommandLine::Input& input : m_line.inputs) {
        if (m_slot.closed())
            return 1; // stopped by a signal
        bool ok = false;
        switch (m_line.command) {
        case CommandLine::Command::Info:
            ok = info(input.path);
            break;
        case CommandLine::Command::Extract:
            ok = convert(WorkingZone::Extract, input);
            break;
        case CommandLine::Command::Compress:
            ok = convert(WorkingZone::Compress, input);
            break;
        case CommandLine::Command::Decrypt:
            ok = m_password.empty() ? convert(WorkingZone::Decrypt, input) : decryptWithPassword(input.path, m_password);
            break;
        case CommandLine::Command::Split:
            ok = split(input.path);
            break;
        case CommandLine::Command::Merge:
            break;
        }
        allOk = allOk && ok;
    }
    return allOk ? 0 : 1;
}

std::wstring CliJobs::outputFor(int zone, const std::wstring& input)
{
    return m_claims.claimOutput(
        Converter::makeOutputPath(zone, input, ConverterFactory::kPdfExtension, m_outFolder), zone);
}

bool CliJobs::report(const std::wstring& label, bool ok, const ConvertError& error, const std::wstring& output)
{
    if (ok)
        printLine(stdout, output);
    else
        printLine(stderr, label + L": " + ConsoleCallback::failureText(TextId::ConversionFailed, error)); // "Fail To Conversion"
    return ok;
}

bool CliJobs::info(const std::wstring& path)
{
    printLine(stderr, path + L": " + Glossary::text(TextId::CheckingEncryption)); // "Checking Encryption Status"
    ConvertError error;
    if (!Converter::checkInputFile(&error, path, path)) {
        printLine(stderr, path + L": " + ConsoleCallback::failureText(TextId::PageCountFailed, error)); // "Fail To Get Page"
        return false;
    }
    // The engine treats a file qpdf had to repair as encrypted (decrypting rewrites it); here
    // the user learns what the file is.
    const std::string said = Converter::queryEncryptionText(path, &m_slot);
    const bool encrypted = said.find("not encrypted") == std::string::npos;
    const std::wstring state = encrypted ? L"encrypted"
                               : said.find("warning") != std::string::npos ? L"not encrypted, damaged (qpdf repairs it when reading)"
                                                                           : L"not encrypted";
    printLine(stderr, path + L": " + Glossary::text(TextId::GettingPages)); // "Getting Pages"
    const int pages = Converter::countPages(path, &m_slot, &error);
    if (pages >= 0) {
        printLine(stdout, path + L": " + std::to_wstring(pages) + L" pages, " + state);
        return true;
    }
    if (error.reason == FailureReason::PasswordProtected) {
        printLine(stdout, path + L": ? pages, encrypted, a password is needed to open it");
        return true;
    }
    printLine(stderr, path + L": " + ConsoleCallback::failureText(TextId::PageCountFailed, error)); // "Fail To Get Page"
    return false;
}

bool CliJobs::convert(int zone, const CommandLine::Input& input)
{
    auto element = std::make_shared<Converter::InputElement>(input.path, m_line.fromPage, m_line.toPage);
    element->setCompressionLevel(m_line.level);
    auto callback = std::make_shared<ConsoleCallback>(input.path);
    callback->setProcessSlot(&m_slot);
    const std::wstring output = outputFor(zone, input.path);
    Converter::createConverter(zone)->run(element, output, Converter::createParameter(zone), callback);
    if (zone == WorkingZone::Compress && callback->ok()) // "3.2 MB → 0.9 MB (−72%)"
        printLine(stderr, input.path + L": " + Converter::compressionSummaryOf(input.path, callback->outputPath()));
    return report(input.path, callback->ok(), callback->error(), callback->outputPath());
}

bool CliJobs::decryptWithPassword(const std::wstring& path, const std::wstring& password)
{
    // The converter never carries a password (the window decrypts files when they are added),
    // so this job calls the operation itself, with the same progress text.
    ConsoleCallback callback(path);
    callback.onProgress(Converter::PdfHandleParameter::Decrypt, 0, 0);
    std::wstring output = outputFor(WorkingZone::Decrypt, path);
    Converter::removeStaleLeftovers(m_outFolder);
    ConvertError error;
    const bool ok = Converter::decryptPdf(path, output, password, &m_slot, &error);
    return report(path, ok, error, output);
}

bool CliJobs::merge()
{
    Converter::PdfHandleParameter::MergeList list;
    for (const CommandLine::Input& input : m_line.inputs) {
        std::wstring range = input.range.empty() ? L"1-z" : input.range; // "z": the last page
        if (input.reversed) // "7-3": the same pages, last to first
            range = range.substr(range.find(L'-') + 1) + L"-" + range.substr(0, range.find(L'-'));
        list.emplace_back(input.path, range);
    }
    const std::wstring& first = m_line.inputs.front().path;
    auto parameter = std::dynamic_pointer_cast<Converter::PdfHandleParameter>(Converter::createParameter(WorkingZone::Merge));
    parameter->setMergeList(std::move(list));
    parameter->setAlternate(m_line.alternate);
    auto callback = std::make_shared<ConsoleCallback>(first);
    callback->setProcessSlot(&m_slot);
    const std::wstring output = outputFor(WorkingZone::Merge, first);
    Converter::createConverter(WorkingZone::Merge)->run(std::make_shared<Converter::InputElement>(first, 1, 1), output,
                                                parameter, callback);
    return report(first, callback->ok(), callback->error(), callback->outputPath());
}

bool CliJobs::split(const std::wstring& path)
{
    // The plan runs to the last page, so it needs the page count first.
    ConvertError error;
    const int pages = Converter::countPages(path, &m_slot, &error);
    if (pages < 0)
        return report(path, false, error, {});
    auto element = std::make_shared<Converter::InputElement>(path, 1, pages);
    element->setPageCount(pages);
    if (m_line.pieceBytes > 0) {
        element->setSplitMode(Converter::InputElement::kSplitBySize);
        element->setPieceBytes(m_line.pieceBytes);
    } else if (m_line.bookmarkLevel > 0) {
        element->setSplitMode(Converter::InputElement::kSplitByBookmarks);
        element->setBookmarkLevel(m_line.bookmarkLevel);
    } else if (m_line.every > 0) {
        element->setSplitMode(Converter::InputElement::kSplitEvery);
        element->setPagesPerPiece(m_line.every);
    } else {
        element->setSplitMode(Converter::InputElement::kSplitAtPoints);
        element->setSplitPoints(m_line.points);
    }
    auto callback = std::make_shared<ConsoleCallback>(path);
    callback->setProcessSlot(&m_slot);
    const std::wstring output = outputFor(WorkingZone::Split, path);
    Converter::createConverter(WorkingZone::Split)->run(element, output, Converter::createParameter(WorkingZone::Split), callback);
    if (m_line.pieceBytes > 0 && callback->ok()) {
        for (int page : callback->oversizePages())
            printLine(stderr, path + L": " + Glossary::text(Glossary::TextRequest(TextId::PageOverPieceSize, {std::to_wstring(page)})));
    }
    return report(path, callback->ok(), callback->error(), callback->outputPath());
}
