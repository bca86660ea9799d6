// Split plans from any mode, pieces size, points and last page: the walk ends, each piece
// starts right after the previous one's end, no piece ends beyond the last page, and a valid
// every-N plan covers 1..last page without gaps.

#include "FuzzInput.h"
#include "core/converter/InputElement.h"
#include "core/converter/SplitPlan.h"

using namespace Converter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int mode = input.byte() % 3 == 0 ? InputElement::kSplitAtPoints : InputElement::kSplitEvery;
    const int piecesSize = input.integer();
    const int toPage = input.integer();
    std::vector<int> points;
    while (!input.empty() && points.size() < 64)
        points.push_back(input.integer());
    const SplitPlan plan(mode, piecesSize, points, toPage);

    long long expectedFirst = 1;
    std::size_t count = 0;
    plan.visit([&](const SplitPiece& piece) {
        FUZZ_CHECK(piece.first == expectedFirst);
        FUZZ_CHECK(piece.last <= toPage);
        expectedFirst = static_cast<long long>(piece.last) + 1;
        ++count;
        return count < 4096; // a plan of a huge last page is walked lazily; stop early
    });
    if (!plan.isValid())
        FUZZ_CHECK(count == 0);
    if (plan.isValid() && !plan.cutsEvery())
        FUZZ_CHECK(count <= points.size() + 1);
    if (plan.isValid() && plan.cutsEvery() && toPage >= 1 && count < 4096)
        FUZZ_CHECK(expectedFirst == static_cast<long long>(toPage) + 1);
    return 0;
}
