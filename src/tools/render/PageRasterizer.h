#pragma once
// One open PDF and the page images drawn from it. Every number the file gives (page count,
// page sizes) is bounded before it sizes anything.

#include <memory>
#include <string>

namespace poppler {
class document;
class page_renderer;
} // namespace poppler

class PageRasterizer {
public:
    // More pages than any real book; a page tree that claims more is cut here.
    static constexpr int kMostPages = 200000;
    static constexpr int kWidestImage = 2000;
    // A page far taller than wide is cut at this many times its width.
    static constexpr int kTallestRatio = 4;

    // False from ok() when the file cannot be opened (or is still locked).
    explicit PageRasterizer(const std::string& path);
    ~PageRasterizer();

    bool ok() const { return m_document != nullptr; }
    int pageCount() const { return m_pageCount; }
    // The page's label when it is not just its number; empty otherwise. page counts from 1.
    std::string label(int page) const;
    // Draws page (from 1) width pixels wide into a PNG file; false when the page cannot be drawn.
    bool render(int page, int width, const std::string& output) const;

private:
    std::unique_ptr<poppler::document> m_document;
    std::unique_ptr<poppler::page_renderer> m_renderer;
    int m_pageCount = 0;
};
