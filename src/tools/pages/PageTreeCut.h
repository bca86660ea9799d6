#pragma once
// Finds chosen pages of a loaded document by walking only the branches of its page tree that
// hold them, and cuts the tree down to those pages: a few pages out of a very large file then
// cost the pages, not the file. Every count read on the way is checked against what the walk
// sees; where the tree is not as its counts say, nothing is changed and the caller loads the
// whole tree instead. A node with as many kids as its count is taken to hold pages only, and
// only its wanted kids are read: a file whose counts lie there gives the pages they say.

#include <qpdf/QPDF.hh>

#include <vector>

class PageTreeCut {
public:
    // fileBytes bounds what the tree's counts may claim. rootKids: the root's kids where they
    // were taken out of it (RootKids), else empty; they must outlive the cut.
    PageTreeCut(QPDF& pdf, long long fileBytes, const std::vector<QPDFObjGen>& rootKids);

    // The page count the root claims; 0 when it cannot be used.
    int claimedCount() const { return m_claimed; }

    // Leaves the tree holding only the wanted pages (0-based indices below claimedCount(), any
    // order, repeats allowed), each with what it inherited on the page itself. Fills pages,
    // sized by the claimed count, at the wanted indices. False, with the document unchanged,
    // when the walk cannot vouch for the pages it found.
    bool keepOnly(const std::vector<int>& wanted, std::vector<QPDFObjectHandle>& pages);

private:
    struct Found;
    bool walk(QPDFObjectHandle node, long long first, long long count, int depth,
              const std::vector<int>& wanted, std::vector<Found>& found);

    QPDF& m_pdf;
    const std::vector<QPDFObjGen>& m_rootKids;
    QPDFObjectHandle m_root;
    int m_claimed = 0;
    std::vector<QPDFObjGen> m_path;
};
