#include "core/converter/QpdfArguments.h"

#include "core/converter/PageRanges.h"

namespace Converter::QpdfArguments {

namespace {

// qpdf reads an argument that starts with "-" as an option and one that starts with "@" as a
// file of further arguments; a relative path that starts so is given as "./path".
std::wstring path(const std::wstring& p)
{
    if (!p.empty() && (p[0] == L'-' || p[0] == L'@'))
        return L"./" + p;
    return p;
}

} // namespace

std::vector<std::wstring> compress(const std::wstring& input, const std::wstring& output)
{
    return {L"--stream-data=compress", path(input), path(output)};
}

std::vector<std::wstring> extract(const std::wstring& input, const std::wstring& range,
                                  const std::wstring& output)
{
    return {path(input), L"--pages", path(input), range, L"--", path(output)};
}

std::vector<std::wstring> merge(const PdfHandleParameter::MergeList& list, const std::wstring& output, bool collate)
{
    std::vector<std::wstring> args;
    args.reserve(list.size() * 2 + 5);
    args.push_back(list.empty() ? std::wstring() : path(list.front().first));
    if (collate)
        args.push_back(L"--collate");
    args.push_back(L"--pages");
    for (const auto& [file, range] : list) {
        args.push_back(path(file));
        args.push_back(range);
    }
    args.push_back(L"--");
    args.push_back(path(output));
    return args;
}

std::vector<std::wstring> decrypt(const std::wstring& input, const std::wstring& output,
                                  bool passwordOnStandardInput)
{
    if (passwordOnStandardInput)
        return {L"--password-file=-", L"--decrypt", path(input), path(output)};
    return {L"--decrypt", path(input), path(output)};
}

std::vector<std::wstring> pageCount(const std::wstring& input)
{
    return {L"--show-npages", path(input)};
}

std::vector<std::wstring> encryption(const std::wstring& input)
{
    return {L"--show-encryption", path(input)};
}

std::vector<std::wstring> splitEvery(const std::wstring& input, int piecesSize, int toPage,
                                     int pageCount, const std::wstring& outputPattern)
{
    std::vector<std::wstring> args = {L"--verbose", L"--split-pages=" + std::to_wstring(piecesSize), path(input)};
    if (toPage != pageCount) { // selecting all pages would only cost time
        args.insert(args.end(), {L"--pages", path(input), pageRangeText(1, toPage), L"--"});
    }
    args.push_back(path(outputPattern));
    return args;
}

} // namespace Converter::QpdfArguments
