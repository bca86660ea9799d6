#include "PageJobs.h"

#include "BookmarkWriter.h"
#include "FileOutput.h"
#include "NamedDestinations.h"
#include "PageLabels.h"
#include "PageReach.h"
#include "TrailerSwap.h"

#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <unordered_map>

namespace {

int readPage(const std::string& text, int pageCount)
{
    std::string digits = text;
    const bool fromEnd = !text.empty() && text[0] == 'r';
    if (fromEnd)
        digits.erase(0, 1);
    long long page = pageCount;
    if (text != "z") {
        if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
            throw std::runtime_error("not a page number: \"" + text + "\"");
        page = std::stoll(digits);
        if (fromEnd)
            page = pageCount + 1 - page;
    }
    if (page < 1 || page > pageCount)
        throw std::runtime_error("page " + text + " is not in the document (1-" +
                                 std::to_string(pageCount) + ")");
    return static_cast<int>(page);
}

// Where each source page went; the first copy of a page counts. Sized by the pages placed, not
// by the source: a split of a large file into many small pieces builds one per piece.
class Placement {
public:
    void set(int page, QPDFObjectHandle placed) { m_pages.emplace(page, placed); }
    PagePlacement lookup() const
    {
        return [this](int page) {
            const auto found = m_pages.find(page);
            return found == m_pages.end() ? QPDFObjectHandle() : found->second;
        };
    }

private:
    std::unordered_map<int, QPDFObjectHandle> m_pages;
};

// Through FileOutput, which says why not to qpdf's own file.
void writeFile(QPDFWriter& writer, const std::string& path)
{
    FileOutput file(path);
    writer.setOutputPipeline(&file);
    writer.write();
    file.close();
}

void write(QPDF& pdf, const std::string& path)
{
    QPDFWriter writer(pdf);
    writeFile(writer, path);
}

// Builds the page list of a loaded document anew, in one pass: removing the old pages one by
// one costs time with the square of the page count. Each page is placed as qpdf's own addPage
// would place it: a page of another document is copied in, a page that is already in the
// list is placed again as a copy. Returns the pages as placed.
class PageListBuilder {
public:
    explicit PageListBuilder(QPDF& out) : m_out(out)
    {
        // The tree becomes one flat level, so what pages inherit must be on the pages.
        m_out.pushInheritedAttributesToPage();
        m_root = m_out.getRoot().getKey("/Pages");
        if (!m_root.isDictionary())
            throw std::runtime_error("the document has no page tree");
    }

    QPDFObjectHandle add(SourcePdf& source, int page, QPDFAcroFormDocumentHelper* outForms)
    {
        QPDFObjectHandle original = source.pages()[page];
        QPDFObjectHandle placed = original;
        if (&source.pdf() != &m_out) {
            source.pdf().pushInheritedAttributesToPage();
            placed = m_out.copyForeignObject(original);
        }
        if (!m_placed.insert(placed.getObjGen()).second)
            placed = m_out.makeIndirectObject(placed.shallowCopy());
        m_placed.insert(placed.getObjGen());
        placed.replaceKey("/Parent", m_root);
        m_kids.push_back(placed);
        if (outForms && source.forms() && &source.pdf() != &m_out)
            outForms->fixCopiedAnnotations(placed, original, *source.forms());
        return placed;
    }

    void finish()
    {
        m_root.replaceKey("/Kids", QPDFObjectHandle::newArray(m_kids));
        m_root.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(m_kids.size())));
        m_out.updateAllPagesCache();
    }

private:
    QPDF& m_out;
    QPDFObjectHandle m_root;
    std::vector<QPDFObjectHandle> m_kids;
    std::set<QPDFObjGen> m_placed;
};

} // namespace

PageList parsePages(const std::string& text, int pageCount)
{
    PageList pages;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
        const std::size_t dash = item.find('-');
        const int first = readPage(item.substr(0, dash), pageCount);
        const int last = dash == std::string::npos ? first : readPage(item.substr(dash + 1), pageCount);
        const int step = first <= last ? 1 : -1;
        for (int page = first;; page += step) {
            pages.push_back(page - 1);
            if (page == last)
                break;
        }
        if (comma == std::string::npos)
            return pages;
        start = comma + 1;
    }
}

std::vector<PlannedPiece> bookmarkPieces(SourcePdf& source, int level)
{
    struct Candidate {
        int page;
        std::string title;
    };
    std::vector<Candidate> candidates;
    std::set<int> starts; // first pages of the bookmarks of this level and above
    const std::function<void(const std::vector<Bookmark>&, int)> walk =
        [&](const std::vector<Bookmark>& bookmarks, int depth) {
            for (const Bookmark& bookmark : bookmarks) {
                const int page = pageOf(bookmark);
                if (page >= 0)
                    starts.insert(page);
                if (depth == level) {
                    if (page >= 0)
                        candidates.push_back({page, bookmark.title});
                } else {
                    walk(bookmark.children, depth + 1);
                }
            }
        };
    walk(source.bookmarks(), 1);

    std::vector<PlannedPiece> pieces;
    for (const Candidate& candidate : candidates) {
        const auto next = starts.upper_bound(candidate.page);
        const int last = next == starts.end() ? source.pageCount() - 1 : *next - 1;
        pieces.push_back({candidate.page + 1, last + 1, candidate.title});
    }
    return pieces;
}

namespace {

// The pages of a piece as the page tree of out, with their labels and the bookmarks that point
// at them: the same whether out is a new document or the source itself.
void placePiece(QPDF& out, SourcePdf& source, const PageList& pages, QPDFAcroFormDocumentHelper* outForms)
{
    PageListBuilder list(out);
    Placement placement;
    std::vector<PageOrigin> origins;
    for (int page : pages) {
        placement.set(page, list.add(source, page, outForms));
        origins.push_back({&source, page});
    }
    list.finish();
    writePageLabels(out, origins);
    writeBookmarks(out, keepPlaced(source.bookmarks(), placement.lookup()));
}

// A piece of at least this share of the document's pages is written from the source itself
// when it can be: copying it into a new document holds a second set of its objects, which
// for a part of a book with many links on its pages is more than the rest of the run needs.
// The first piece written so makes qpdf read every object of the file (its check for
// references to missing objects), and each one has the writer set up tables as large as the
// file's; a piece this size outweighs both, while a split into many small pieces keeps copying.
constexpr std::size_t kInPlaceShare = 64;

bool writesInPlace(SourcePdf& source, const PageList& pages)
{
    // Forms need their fields mended as their annotations are copied; an encrypted source is
    // left to the copier, which writes it decrypted without touching the source's trailer.
    if (source.cut() || source.forms() || source.pdf().isEncrypted())
        return false;
    if (pages.size() * kInPlaceShare < static_cast<std::size_t>(source.pageCount()))
        return false;
    // A link or an annotation that refers to a page outside the piece would take that page and
    // its page tree along; the copier leaves the tree out.
    return staysWithin(source.pdf(), source.pages(), pages);
}

// The piece as writePiece makes it, written from the source document: only the page tree is
// rebuilt, under a catalog of its own that the trailer holds while the piece is written.
void writePieceInPlace(SourcePdf& source, const PageList& pages, const std::string& path)
{
    const bool packs = source.packsObjects(); // reads the trailer, before it is swapped
    source.freezePages();
    QPDF& pdf = source.pdf();
    // While the document's own tree is in place: the piece's tree is flat.
    pdf.pushInheritedAttributesToPage();
    {
        TrailerSwap swap(pdf);
        placePiece(pdf, source, pages, nullptr);
        QPDFWriter writer(pdf);
        writer.setPreserveEncryption(false);
        // As small as the source where it packs objects; the rest as the copier writes them.
        writer.setObjectStreamMode(packs ? qpdf_o_generate : qpdf_o_disable);
        writeFile(writer, path);
    }
    // qpdf's page list follows the document's own tree again.
    pdf.updateAllPagesCache();
}

} // namespace

void writePiece(SourcePdf& source, const PageList& pages, const std::string& path)
{
    if (writesInPlace(source, pages)) {
        writePieceInPlace(source, pages, path);
        return;
    }
    QPDF out;
    out.emptyPDF();
    std::unique_ptr<QPDFAcroFormDocumentHelper> outForms;
    if (source.forms())
        outForms = std::make_unique<QPDFAcroFormDocumentHelper>(out);
    placePiece(out, source, pages, outForms.get());
    write(out, path);
}

namespace {

// The catalog's entries and the document information of source, into out, which already has
// its pages: references to pages that were not copied become null. Nothing is made indirect in
// source, which would make qpdf enter every object of the file.
void copyDocumentParts(QPDF& source, QPDF& out)
{
    // Written anew from what was read; copying the outline would only copy it twice.
    QPDFObjectHandle catalog = source.getRoot();
    std::vector<std::pair<std::string, QPDFObjectHandle>> aside;
    for (const char* key : {"/Outlines", "/PageLabels"}) {
        if (catalog.hasKey(key)) {
            aside.emplace_back(key, catalog.getKey(key));
            catalog.removeKey(key);
        }
    }
    QPDFObjectHandle copied = out.copyForeignObject(catalog);
    for (auto& [key, value] : aside)
        catalog.replaceKey(key, value);
    QPDFObjectHandle root = out.getRoot();
    for (const std::string& key : copied.getKeys()) {
        if (key != "/Type" && key != "/Pages")
            root.replaceKey(key, copied.getKey(key));
    }

    QPDFObjectHandle info = source.getTrailer().getKey("/Info");
    if (info.isIndirect() && info.isDictionary()) {
        out.getTrailer().replaceKey("/Info", out.copyForeignObject(info));
    } else if (info.isDictionary()) {
        QPDFObjectHandle fresh = QPDFObjectHandle::newDictionary();
        for (const std::string& key : info.getKeys()) {
            QPDFObjectHandle value = info.getKey(key);
            if (value.isIndirect())
                fresh.replaceKey(key, out.copyForeignObject(value));
            else if (value.isString() || value.isName() || value.isNumber() || value.isBool())
                fresh.replaceKey(key, value.shallowCopy());
        }
        out.getTrailer().replaceKey("/Info", out.makeIndirectObject(fresh));
    }
}

} // namespace

void writeExtract(SourcePdf& source, const PageList& pages, const std::string& path)
{
    // A source whose page tree was cut is copied from into a new document: writing the source
    // itself would read every object of the file.
    QPDF fresh;
    if (source.cut())
        fresh.emptyPDF();
    QPDF& out = source.cut() ? fresh : source.pdf();
    source.freezePages();
    PageListBuilder list(out);
    Placement placement;
    std::vector<PageOrigin> origins;
    for (int page : pages) {
        placement.set(page, list.add(source, page, nullptr));
        origins.push_back({&source, page});
        // A copied page is not read again (a repeat finds the copy): freed at once with its
        // content streams, the source's objects and their copies are not both held.
        if (source.cut())
            source.releasePage(page);
    }
    list.finish();
    if (source.cut())
        copyDocumentParts(source.pdf(), out);
    writePageLabels(out, origins);
    dropNamesOfRemovedPages(out);
    writeBookmarks(out, keepPlaced(source.bookmarks(), placement.lookup()));
    QPDFWriter writer(out);
    writer.setMinimumPDFVersion(source.pdf().getPDFVersion(), source.pdf().getExtensionLevel());
    // A new document has no object streams to keep: packed as the source was, it stays as small.
    if (source.cut() && source.packsObjects())
        writer.setObjectStreamMode(qpdf_o_generate);
    writeFile(writer, path);
}

void writeMerge(const std::vector<MergeEntry>& entries, const std::string& path, bool alternate)
{
    if (entries.empty())
        throw std::runtime_error("nothing to merge");
    QPDF& out = entries.front().source->pdf();
    entries.front().source->freezePages();
    PageListBuilder list(out);
    std::unique_ptr<QPDFAcroFormDocumentHelper> outForms;
    for (const MergeEntry& entry : entries) {
        if (entry.source->forms() && entry.source != entries.front().source) {
            outForms = std::make_unique<QPDFAcroFormDocumentHelper>(out);
            break;
        }
    }
    // (entry, position in its pages) in the order the pages go out.
    std::vector<std::pair<std::size_t, std::size_t>> order;
    std::size_t longest = 0;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        longest = std::max(longest, entries[e].pages.size());
        if (!alternate) {
            for (std::size_t i = 0; i < entries[e].pages.size(); ++i)
                order.emplace_back(e, i);
        }
    }
    for (std::size_t i = 0; alternate && i < longest; ++i) {
        for (std::size_t e = 0; e < entries.size(); ++e) {
            if (i < entries[e].pages.size())
                order.emplace_back(e, i);
        }
    }

    std::vector<Placement> placements(entries.size());
    std::vector<Bookmark> tops(entries.size());
    for (std::size_t e = 0; e < entries.size(); ++e) {
        tops[e].title = entries[e].title;
        tops[e].open = true;
    }
    // Where each copied page is placed for the last time: the source lets it go after that.
    std::unordered_map<SourcePdf*, std::vector<int>> lastUse;
    for (std::size_t n = 0; n < order.size(); ++n) {
        SourcePdf* source = entries[order[n].first].source;
        if (source == entries.front().source)
            continue; // its pages are the output's own
        std::vector<int>& last = lastUse[source];
        last.resize(static_cast<std::size_t>(source->pageCount()), -1);
        last[static_cast<std::size_t>(entries[order[n].first].pages[order[n].second])] = static_cast<int>(n);
    }
    std::vector<PageOrigin> origins;
    for (std::size_t n = 0; n < order.size(); ++n) {
        const auto [e, i] = order[n];
        const MergeEntry& entry = entries[e];
        const int page = entry.pages[i];
        QPDFObjectHandle added = list.add(*entry.source, page, outForms.get());
        placements[e].set(page, added);
        origins.push_back({entry.source, page});
        if (!tops[e].target.isInitialized())
            tops[e].target = added;
        const auto found = lastUse.find(entry.source);
        if (found != lastUse.end() && found->second[static_cast<std::size_t>(page)] == static_cast<int>(n))
            entry.source->releasePage(page);
    }
    for (std::size_t e = 0; e < entries.size(); ++e)
        tops[e].children = keepPlaced(entries[e].source->bookmarks(), placements[e].lookup());
    list.finish();
    writePageLabels(out, origins);
    dropNamesOfRemovedPages(out);
    writeBookmarks(out, tops);
    write(out, path);
}
