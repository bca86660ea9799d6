#include "PageRasterizer.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include <algorithm>
#include <cmath>

PageRasterizer::PageRasterizer(const std::string& path)
{
    std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
    if (!document || document->is_locked())
        return;
    m_pageCount = std::clamp(document->pages(), 0, kMostPages);
    m_document = std::move(document);
    m_renderer = std::make_unique<poppler::page_renderer>();
    m_renderer->set_render_hint(poppler::page_renderer::antialiasing);
    m_renderer->set_render_hint(poppler::page_renderer::text_antialiasing);
    m_renderer->set_image_format(poppler::image::format_rgb24);
}

PageRasterizer::~PageRasterizer() = default;

std::string PageRasterizer::label(int page) const
{
    if (!m_document || page < 1 || page > m_pageCount)
        return {};
    std::unique_ptr<poppler::page> p(m_document->create_page(page - 1));
    if (!p)
        return {};
    const poppler::byte_array bytes = p->label().to_utf8();
    std::string text(bytes.begin(), bytes.end());
    if (text.size() > 64)
        text.resize(64);
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text == std::to_string(page) ? std::string() : text;
}

bool PageRasterizer::render(int page, int width, const std::string& output) const
{
    if (!m_document || page < 1 || page > m_pageCount || width < 1)
        return false;
    std::unique_ptr<poppler::page> p(m_document->create_page(page - 1));
    if (!p)
        return false;
    width = std::min(width, kWidestImage);
    const poppler::rectf box = p->page_rect();
    double pageWidth = box.width();
    double pageHeight = box.height();
    const poppler::page::orientation_enum turn = p->orientation();
    if (turn == poppler::page::landscape || turn == poppler::page::seascape)
        std::swap(pageWidth, pageHeight);
    // A box of no size, or of an absurd one, is drawn at the width of a letter page.
    if (!std::isfinite(pageWidth) || !std::isfinite(pageHeight) || pageWidth < 1 || pageHeight < 1 ||
        pageWidth > 1e6 || pageHeight > 1e6) {
        pageWidth = 612;
        pageHeight = 792;
    }
    const double dpi = 72.0 * width / pageWidth;
    const int height = std::clamp(static_cast<int>(std::lround(pageHeight * dpi / 72.0)), 1,
                                  width * kTallestRatio);
    const poppler::image image = m_renderer->render_page(p.get(), dpi, dpi, 0, 0, width, height);
    return image.is_valid() && image.save(output, "png");
}
