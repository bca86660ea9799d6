#pragma once
// For writing a document of some of a document's own pages: while it lives, the trailer holds
// nothing but a new catalog with an empty page tree, so a writer takes along only what is put
// into that catalog, not the document information, the outline or the named destinations. The
// trailer comes back as it was at the end, also when the writing throws.

#include <qpdf/QPDF.hh>

#include <string>
#include <utility>
#include <vector>

class TrailerSwap {
public:
    explicit TrailerSwap(QPDF& pdf);
    ~TrailerSwap();
    TrailerSwap(const TrailerSwap&) = delete;
    TrailerSwap& operator=(const TrailerSwap&) = delete;

private:
    QPDFObjectHandle m_trailer;
    std::vector<std::pair<std::string, QPDFObjectHandle>> m_kept;
};
