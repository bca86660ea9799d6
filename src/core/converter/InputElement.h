#pragma once
// One input of a job with its page selection and, for a split, how to cut it.

#include "core/converter/CompressionLevel.h"
#include "core/converter/PdfFile.h"

#include <cstdint>
#include <vector>

namespace Converter {

class InputElement : public PdfFile {
public:
    // Split mode 1 cuts every m_pagesPerPiece pages, mode 2 at the bookmarks of level
    // m_bookmarkLevel, mode 3 into pieces of at most m_pieceBytes as written; any other value
    // cuts at m_splitPoints.
    static constexpr int kSplitEvery = 1;
    static constexpr int kSplitAtPoints = 0;
    static constexpr int kSplitByBookmarks = 2;
    static constexpr int kSplitBySize = 3;
    // What a size in MB means: the decimal megabyte, the smaller reading, so a piece made for
    // a limit of "10 MB" passes it however the limit is counted.
    static constexpr std::uintmax_t kBytesPerMb = 1000 * 1000;

    InputElement(std::wstring path, int fromPage, int toPage);

    // Besides the path, a known page count resets the range to the whole document.
    void setPath(const std::wstring& path) override;

    int fromPage() const { return m_fromPage; }
    int toPage() const { return m_toPage; }
    int splitMode() const { return m_splitMode; }
    int pagesPerPiece() const { return m_pagesPerPiece; }
    const std::vector<int>& splitPoints() const { return m_splitPoints; }
    int bookmarkLevel() const { return m_bookmarkLevel; }
    std::uintmax_t pieceBytes() const { return m_pieceBytes; }
    CompressionLevel compressionLevel() const { return m_compressionLevel; }

    void setSplitMode(int mode) { m_splitMode = mode; }
    void setPagesPerPiece(int pages) { m_pagesPerPiece = pages; }
    void setSplitPoints(std::vector<int> points) { m_splitPoints = std::move(points); }
    void setBookmarkLevel(int level) { m_bookmarkLevel = level; }
    void setPieceBytes(std::uintmax_t bytes) { m_pieceBytes = bytes; }
    void setCompressionLevel(CompressionLevel level) { m_compressionLevel = level; }

private:
    int m_fromPage;
    int m_toPage;
    int m_splitMode = kSplitEvery;
    int m_pagesPerPiece = 1;
    std::vector<int> m_splitPoints;
    int m_bookmarkLevel = 1;
    std::uintmax_t m_pieceBytes = 0;
    CompressionLevel m_compressionLevel = CompressionLevel::Standard;
};

} // namespace Converter
