#include "RootKids.h"

#include "KidsScanner.h"
#include "PdfBytes.h"
#include "XrefTableEntry.h"

#include <qpdf/QPDFObjectHandle.hh>

#include <exception>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

// Fewer are cheap enough for qpdf.
constexpr std::size_t kFewestTaken = 1024;

} // namespace

RootKids::RootKids(QPDF& pdf, const std::string& path) : m_pdf(pdf), m_root(pdf.getRoot().getKey("/Pages").getObjGen())
{
    // A file qpdf had to repair may have its objects elsewhere than its table says; in a file of
    // both kinds of table, the stream may hold what the table leaves out.
    if (!m_root.isIndirect() || pdf.isEncrypted() || pdf.anyWarnings() || pdf.getTrailer().hasKey("/XRefStm"))
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    qpdf_offset_t offset = tableOffsetOf(fd, m_root);
    if (offset < 0) {
        // A copy of qpdf's whole table, given back at once: still far less than the objects.
        const std::map<QPDFObjGen, QPDFXRefEntry> table = pdf.getXRefTable();
        const auto entry = table.find(m_root);
        if (entry != table.end() && entry->second.getType() == 1)
            offset = entry->second.getOffset();
    }
    if (offset < 0) {
        ::close(fd);
        return;
    }
    const std::string dictionary = KidsScanner::readFrom(fd, offset, m_root, m_kids);
    ::close(fd);
    take(dictionary);
}

RootKids::RootKids(QPDF& pdf, QPDFObjGen root, std::vector<QPDFObjGen> kids, const std::string& dictionary)
    : m_pdf(pdf), m_root(root), m_kids(std::move(kids))
{
    take(dictionary);
}

void RootKids::take(const std::string& dictionary)
{
    if (dictionary.empty() || m_kids.size() < kFewestTaken) {
        m_kids.clear();
        return;
    }
    QPDFObjectHandle root;
    try {
        root = QPDFObjectHandle::parse(&m_pdf, dictionary, "the page tree's root");
    } catch (const std::exception&) {
    }
    if (!root.isInitialized() || !root.isDictionary()) {
        m_kids.clear();
        return;
    }
    m_pdf.replaceObject(m_root, root);
}

void RootKids::putBack()
{
    if (m_kids.empty())
        return;
    std::vector<QPDFObjectHandle> kids;
    kids.reserve(m_kids.size());
    for (const QPDFObjGen& kid : m_kids)
        kids.push_back(m_pdf.getObject(kid));
    m_pdf.getObject(m_root).replaceKey("/Kids", QPDFObjectHandle::newArray(kids));
    m_kids.clear();
}
