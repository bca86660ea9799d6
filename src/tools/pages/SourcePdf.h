#pragma once
// An input document, loaded once: its pages as they were and its bookmarks.

#include "Bookmark.h"
#include "BookmarkReader.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageLabelDocumentHelper.hh>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ReachedTable;

class SourcePdf {
public:
    // Throws (QPDFExc, std::runtime_error) when the file is not a PDF qpdf can read. after:
    // whether the outline's objects stay in the document once read (readBookmarks).
    explicit SourcePdf(const std::string& path, AfterReading after = AfterReading::Keep);
    // The same from bytes in memory (which must outlive the object), without warnings on
    // standard error: for reading many small documents in one process.
    SourcePdf(const std::string& name, const char* data, std::size_t size);
    // Only for taking some pages out: choose names the pages (0-based) for a page count. Where
    // the page tree allows, only the chosen pages are read and pages() holds only them (the
    // other entries are null); otherwise the whole tree is read, as by the first constructor.
    using Chooser = std::function<std::vector<int>(int pageCount)>;
    SourcePdf(const std::string& path, const Chooser& choose);
    ~SourcePdf();
    SourcePdf(const SourcePdf&) = delete;
    SourcePdf& operator=(const SourcePdf&) = delete;

    const std::string& path() const { return m_path; }
    QPDF& pdf() { return *m_pdf; }
    // The page list at load, before any job changed the page tree: a job that changes this
    // document's own tree calls freezePages() first.
    const std::vector<QPDFObjectHandle>& pages() const { return *m_live; }
    int pageCount() const { return static_cast<int>(m_live->size()); }
    void freezePages();
    // Frees a page that was copied out and is not needed again, and its content streams: every
    // handle to them then reads null. Pages copied out of a large file add up to a copy of it
    // otherwise. Only where every copy goes into one document, whose copier finds a stream
    // shared with a later page among what it has copied and reads a stream's data from the file
    // by offset. (A split, writing many documents, does without: the freed blocks make malloc
    // consolidate its free lists for every piece, a fifth more processor time.)
    void releasePage(int page);
    // The pages the chooser named, in its order.
    const std::vector<int>& chosen() const { return m_chosen; }
    // True when the page tree was cut down to the chosen pages: the document may then only be
    // copied from, never written itself.
    bool cut() const { return m_cut; }
    // True when the file has a cross-reference stream, the mark of objects packed in object
    // streams.
    bool packsObjects();
    const std::vector<Bookmark>& bookmarks() const { return m_bookmarks; }
    // Form fields and annotations need mending when their pages are copied; null without.
    QPDFAcroFormDocumentHelper* forms() { return m_forms.get(); }
    // The page labels as loaded, also after a job has replaced them in the document.
    QPDFPageLabelDocumentHelper& labels() { return *m_labels; }

private:
    // The chosen pages of a large flat page tree read through a table of only what they reach
    // (ReachedTable); false, with nothing loaded, when the file is not one for that.
    bool loadReached(const Chooser& choose);
    void load();
    void readDocumentParts();

    std::string m_path;
    AfterReading m_afterReading = AfterReading::Keep;
    std::unique_ptr<QPDF> m_pdf = std::make_unique<QPDF>();
    // Kept to the end: taking its parse apart cost more than a tenth of an extract's time.
    std::unique_ptr<ReachedTable> m_reached;
    std::vector<QPDFObjectHandle> m_pages;
    // m_pages, or qpdf's own list while no job has changed the tree.
    const std::vector<QPDFObjectHandle>* m_live = &m_pages;
    std::vector<int> m_chosen;
    bool m_cut = false;
    std::vector<Bookmark> m_bookmarks;
    std::unique_ptr<QPDFAcroFormDocumentHelper> m_forms;
    std::unique_ptr<QPDFPageLabelDocumentHelper> m_labels;
};
