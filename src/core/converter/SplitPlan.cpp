#include "core/converter/SplitPlan.h"

#include "core/converter/InputElement.h"

namespace Converter {

SplitPlan::SplitPlan(int mode, int piecesSize, std::vector<int> points, int toPage)
    : m_every(mode == InputElement::kSplitEvery), m_piecesSize(piecesSize),
      m_points(std::move(points)), m_toPage(toPage)
{
}

SplitPlan SplitPlan::of(const InputElement& input)
{
    return SplitPlan(input.splitMode(), input.pagesPerPiece(), input.splitPoints(), input.toPage());
}

bool SplitPlan::isValid() const
{
    return !m_every || m_piecesSize >= 1;
}

void SplitPlan::visit(const std::function<bool(const SplitPiece&)>& visit) const
{
    if (!isValid())
        return;
    // 64-bit counters: the page after INT_MAX, or N added to a page near it, must not wrap.
    long long start = 1;
    const auto emit = [&](long long end) {
        if (end > m_toPage)
            end = m_toPage;
        const bool more = visit(SplitPiece{static_cast<int>(start), static_cast<int>(end)});
        start = end + 1;
        return more;
    };
    if (m_every) {
        for (long long end = m_piecesSize; end < m_toPage; end += m_piecesSize) {
            if (!emit(end))
                return;
        }
        emit(m_toPage);
        return;
    }
    for (int point : m_points) {
        if (!emit(point) || start > m_toPage)
            return;
    }
    emit(m_toPage);
}

bool SplitPlan::hasAtMost(std::size_t limit) const
{
    std::size_t count = 0;
    visit([&](const SplitPiece&) { return ++count <= limit; });
    return count <= limit;
}

std::vector<SplitPiece> SplitPlan::pieces() const
{
    std::vector<SplitPiece> result;
    visit([&](const SplitPiece& piece) {
        result.push_back(piece);
        return true;
    });
    return result;
}

} // namespace Converter
