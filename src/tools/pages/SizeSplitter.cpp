#include "SizeSplitter.h"

#include "PageJobs.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

SizeSplitter::SizeSplitter(SourcePdf& source, std::uintmax_t limit, std::string folder)
    : m_source(source), m_limit(limit), m_folder(std::move(folder)), m_candidate(m_folder + "/candidate.pdf")
{
}

std::uintmax_t SizeSplitter::writeCandidate(int first, int last)
{
    PageList pages;
    for (int page = first; page <= last; ++page)
        pages.push_back(page);
    writePiece(m_source, pages, m_candidate);
    return std::filesystem::file_size(m_candidate);
}

void SizeSplitter::keepCandidateAs(int n)
{
    std::filesystem::rename(m_candidate, m_folder + "/" + std::to_string(n) + ".pdf");
}

int SizeSplitter::run(int first, int last, const Written& written)
{
    if (first < 1 || last > m_source.pageCount() || first > last)
        throw std::runtime_error("the pages are not in the document");
    int n = 0;
    for (int start = first - 1; start <= last - 1;) {
        ++n;
        // The largest end that fits: gallop out from one page until a piece is too big or the
        // pages run out, then halve the gap. Every fitting candidate is kept as the piece, so
        // the piece reported is a file that was measured.
        int fits = start;
        const bool oversize = writeCandidate(start, start) > m_limit;
        keepCandidateAs(n);
        if (!oversize) {
            int tooBig = last; // one past the pages when everything fits
            bool bounded = false;
            for (int step = 1; fits < last - 1; step *= 2) {
                const int end = std::min(start + step, last - 1);
                if (writeCandidate(start, end) > m_limit) {
                    tooBig = end;
                    bounded = true;
                    break;
                }
                fits = end;
                keepCandidateAs(n);
            }
            while (bounded && tooBig - fits > 1) {
                const int middle = fits + (tooBig - fits) / 2;
                if (writeCandidate(start, middle) > m_limit) {
                    tooBig = middle;
                } else {
                    fits = middle;
                    keepCandidateAs(n);
                }
            }
        }
        written(n, start + 1, fits + 1, oversize);
        start = fits + 1;
    }
    std::error_code ec;
    std::filesystem::remove(m_candidate, ec);
    return n;
}
