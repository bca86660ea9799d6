#pragma once
// Cuts pages into pieces of at most a given size as written: each piece is written, measured
// and grown or shrunk until it holds as many pages as fit, in page order. A size guessed
// before writing misses by the shared fonts and images a piece does or does not carry.

#include "SourcePdf.h"

#include <cstdint>
#include <functional>
#include <string>

class SizeSplitter {
public:
    // (piece number from 1, first and last page 1-based, the piece is one page over the limit)
    using Written = std::function<void(int n, int first, int last, bool oversize)>;

    // Pieces go to FOLDER/<n>.pdf; FOLDER/candidate.pdf is the scratch file of the search.
    SizeSplitter(SourcePdf& source, std::uintmax_t limit, std::string folder);

    // Pages first..last (1-based); written is called once a piece is complete. Returns the
    // number of pieces.
    int run(int first, int last, const Written& written);

private:
    // Writes pages first..last (0-based) as the candidate; its size on disk.
    std::uintmax_t writeCandidate(int first, int last);
    void keepCandidateAs(int n);

    SourcePdf& m_source;
    std::uintmax_t m_limit;
    std::string m_folder;
    std::string m_candidate;
};
