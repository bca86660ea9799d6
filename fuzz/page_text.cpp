// Page-range and split-point texts as a user types them into a row's boxes.

#include "FuzzInput.h"
#include "core/common/Utils.h"
#include "core/converter/PageRanges.h"

#include <climits>

using namespace Converter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::wstring from = Utils::utf8ToWide(input.text());
    const std::wstring to = Utils::utf8ToWide(input.text());
    const std::wstring points = Utils::utf8ToWide(input.rest());

    int value = 0;
    readNumber(from, value);
    int first = 0, last = 0;
    if (readPageRange(from, to, first, last) == PageTextStatus::Ok) {
        // The text of a range reads back as the same two numbers.
        const std::wstring text = pageRangeText(first, last);
        const std::size_t dash = text.find(L'-', first < 0 ? 1 : 0);
        FUZZ_CHECK(dash != std::wstring::npos);
        int a = 0, b = 0;
        FUZZ_CHECK(readNumber(text.substr(0, dash), a) == PageTextStatus::Ok && a == first);
        FUZZ_CHECK(readNumber(text.substr(dash + 1), b) == PageTextStatus::Ok && b == last);
    }
    std::vector<int> cuts;
    readSplitPoints(points, cuts);
    FUZZ_CHECK(cuts.size() <= points.size());
    int pieces = 0;
    if (readPiecesSize(points, pieces) == PageTextStatus::Ok)
        FUZZ_CHECK(pieces >= 1);
    return 0;
}
