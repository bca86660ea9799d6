#pragma once
// The pieces of a split. The plan is a list of end pages: every N pages (N, 2N, ... below the
// last page, then the last page) or the given split points followed by the last page. Piece k
// runs from the page after piece k-1's end (page 1 for the first) to its own end, an end
// beyond the last page becoming the last page; with split points the walk stops once it has
// passed the last page. Points are not sorted or checked: qpdf judges odd ranges.

#include <cstddef>
#include <functional>
#include <vector>

namespace Converter {

class InputElement;

struct SplitPiece {
    int first;
    int last;
    bool operator==(const SplitPiece&) const = default;
};

class SplitPlan {
public:
    // mode: InputElement::kSplitEvery for every piecesSize pages, anything else for points.
    SplitPlan(int mode, int piecesSize, std::vector<int> points, int toPage);
    static SplitPlan of(const InputElement& input);

    // An every-N plan needs N >= 1; anything else never ends.
    bool isValid() const;
    bool cutsEvery() const { return m_every; }
    int piecesSize() const { return m_piecesSize; }
    int toPage() const { return m_toPage; }

    // Walks the pieces in order without building the whole list (a mistyped last page must
    // not cost memory); stops early when visit returns false. Nothing on an invalid plan.
    void visit(const std::function<bool(const SplitPiece&)>& visit) const;

    // True when the plan has at most limit pieces; walks no further than that.
    bool hasAtMost(std::size_t limit) const;

    // All pieces; for plans whose last page is a real page count.
    std::vector<SplitPiece> pieces() const;

private:
    bool m_every;
    int m_piecesSize;
    std::vector<int> m_points;
    int m_toPage;
};

} // namespace Converter
