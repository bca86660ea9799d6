#pragma once
// The qpdf argument vectors of every operation, piece for piece as the command lines run:
// primary input, the --pages list, "--", output. Each path or range is one argument, so
// quotes and spaces in it need no escaping. The password never appears here: qpdf reads it
// from standard input (--password-file=-).

#include "core/converter/PdfHandleParameter.h"

#include <string>
#include <vector>

namespace Converter::QpdfArguments {

std::vector<std::wstring> compress(const std::wstring& input, const std::wstring& output);
std::vector<std::wstring> extract(const std::wstring& input, const std::wstring& range,
                                  const std::wstring& output);
// The first entry's path is the primary input and also the first entry of the page list.
// collate: one page of each file in turn, the longer files going on once the others end.
std::vector<std::wstring> merge(const PdfHandleParameter::MergeList& list, const std::wstring& output,
                                bool collate = false);
std::vector<std::wstring> decrypt(const std::wstring& input, const std::wstring& output,
                                  bool passwordOnStandardInput);
std::vector<std::wstring> pageCount(const std::wstring& input);
std::vector<std::wstring> encryption(const std::wstring& input);
// Every piecesSize pages of pages 1 to toPage into outputPattern ("%d" becomes the range);
// --verbose names each piece on standard output as soon as it is written.
std::vector<std::wstring> splitEvery(const std::wstring& input, int piecesSize, int toPage,
                                     int pageCount, const std::wstring& outputPattern);

} // namespace Converter::QpdfArguments
