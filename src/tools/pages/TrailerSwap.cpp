#include "TrailerSwap.h"

TrailerSwap::TrailerSwap(QPDF& pdf) : m_trailer(pdf.getTrailer())
{
    // Made before the trailer is touched: qpdf may throw while it adds objects.
    QPDFObjectHandle pages = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    pages.replaceKey("/Type", QPDFObjectHandle::newName("/Pages"));
    pages.replaceKey("/Kids", QPDFObjectHandle::newArray());
    pages.replaceKey("/Count", QPDFObjectHandle::newInteger(0));
    QPDFObjectHandle catalog = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    catalog.replaceKey("/Type", QPDFObjectHandle::newName("/Catalog"));
    catalog.replaceKey("/Pages", pages);

    for (const auto& [name, value] : m_trailer.ditems())
        m_kept.emplace_back(name, value);
    for (const auto& kept : m_kept)
        m_trailer.removeKey(kept.first);
    m_trailer.replaceKey("/Root", catalog);
    // The writer puts its own count in place of this one, and writes none without it.
    m_trailer.replaceKey("/Size", QPDFObjectHandle::newInteger(0));
}

TrailerSwap::~TrailerSwap()
{
    m_trailer.removeKey("/Root");
    m_trailer.removeKey("/Size");
    for (const auto& [name, value] : m_kept)
        m_trailer.replaceKey(name, value);
}
