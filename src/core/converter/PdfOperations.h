#pragma once
// The PDF operations, each one qpdf run (extract and merge: one run of korvex-pages, which
// also carries the bookmarks of the pages, when it is there). An operation that writes a file
// succeeds only when qpdf exits with 0 or 3 (done, perhaps with warnings) and the output has been written. qpdf
// writes to a hidden temporary name beside the output, which is renamed into place only on
// success; a file left at the output by an earlier run is removed first, so neither an old
// file nor a half-written one can pass for this run's result.
// Every operation takes the job's process slot (may be null) and, optionally, a place for
// the cause of a failure.

#include "core/converter/CompressionLevel.h"
#include "core/converter/ConvertError.h"
#include "core/converter/PdfHandleParameter.h"

#include <functional>
#include <string>

namespace Converter {

class ProcessSlot;

// Standard: qpdf --stream-data=compress. The other levels run korvex-compress, which never
// writes a file larger than the input, and report each page done through progress.
bool compressPdf(const std::wstring& input, const std::wstring& output, ProcessSlot* slot,
                 ConvertError* error = nullptr);
bool compressPdf(const std::wstring& input, const std::wstring& output, CompressionLevel level,
                 const std::function<void(int done, int count)>& progress, ProcessSlot* slot,
                 ConvertError* error = nullptr);

// range: qpdf's range text, "3-7".
bool extractPages(const std::wstring& input, const std::wstring& range, const std::wstring& output,
                  ProcessSlot* slot, ConvertError* error = nullptr);

// alternate: page 1 of every entry, then page 2 of every entry, ...; an entry that has run out
// is passed over. A range such as "5-1" takes its pages last to first.
bool mergePdfs(const PdfHandleParameter::MergeList& list, const std::wstring& output,
               ProcessSlot* slot, ConvertError* error = nullptr, bool alternate = false);

// An empty output puts the copy into this run's private temporary folder, keeping the input's
// file name, and sets output to where it went. A password travels to qpdf on standard input;
// one with a line break cannot and is refused.
bool decryptPdf(const std::wstring& input, std::wstring& output, const std::wstring& password,
                ProcessSlot* slot, ConvertError* error = nullptr);

// -1 when qpdf fails or prints no number in the int range.
int countPages(const std::wstring& input, ProcessSlot* slot, ConvertError* error = nullptr);

// True means "treat as encrypted" (decrypt before use); a query that fails counts as encrypted.
bool queryEncryption(const std::wstring& input, ProcessSlot* slot);
// What qpdf --show-encryption printed (standard output and error as qpdf wrote them); empty
// when it could not run.
std::string queryEncryptionText(const std::wstring& input, ProcessSlot* slot);

// The rules applied to the query's output (standard output and error as qpdf wrote them).
bool looksEncrypted(const std::string& queryOutput);
// The page count in the output of --show-npages: a leading decimal number, else -1.
int parsePageCount(const std::string& output);

// Where the job of a working zone writes: "<save folder>/<title><suffix><extension>" for the
// extract, compress, decrypt and merge zones (suffix in the current language: "_EXTRACT.",
// "_Compress.", "_Decrypt.", "_Merged."), "<save folder>/<title>", the folder of the pieces, for
// the split zone; empty for other zones.
std::wstring makeOutputPath(int zone, const std::wstring& input, const std::wstring& extension,
                            const std::wstring& saveFolder);

} // namespace Converter
