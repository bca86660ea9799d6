#pragma once
// A file whose page tree is one flat node of thousands of pages, for qpdf to read through a
// cross-reference table that lists only what the trailer, the catalog and the wanted pages
// reach. qpdf reads a whole table before any object: for 1,000 pages out of 100,000 that was
// most of an extract. Each object's references are found by qpdf's own parser, so what qpdf
// can reach from what it is given is what it would reach in the whole file, and the objects
// it is given sit where they sit in the file. A file this cannot vouch for (no plain table, an
// update, encryption, a form, a root whose counts disagree) is left to be read whole.

#include "PlainXrefTable.h"

#include <qpdf/QPDF.hh>

#include <memory>
#include <string>
#include <vector>

class FileBlockSource;

class ReachedTable {
public:
    explicit ReachedTable(const std::string& path);
    ~ReachedTable();
    ReachedTable(const ReachedTable&) = delete;
    ReachedTable& operator=(const ReachedTable&) = delete;

    // The pages the root claims, one to each of its kids; 0 when the file is not one for this.
    int claimedCount() const { return m_claimed; }
    // The root's kids and its dictionary with an empty /Kids, as KidsScanner read them.
    QPDFObjGen root() const { return m_root; }
    std::vector<QPDFObjGen> takeKids() { return std::move(m_kids); }
    const std::string& rootDictionary() const { return m_rootDictionary; }

    // What qpdf is to read in place of the file's bytes from tableOffset() on: the table of the
    // objects reached when the root's kids are only the wanted ones (0-based, below
    // claimedCount()), then the file's own trailer. Empty when the walk cannot vouch for what it
    // reached, or reaches too large a share of the file for the table to be worth cutting.
    std::string tail(const std::vector<int>& wanted);
    qpdf_offset_t tableOffset() const { return m_table ? m_table->tableOffset() : 0; }

private:
    bool readRoot();
    // The object as the file has it at the table's offset, parsed without resolving anything;
    // uninitialized when it is not there as the table says.
    QPDFObjectHandle parseObject(int object);
    QPDFObjectHandle parseAt(qpdf_offset_t offset);

    int m_fd = -1;
    qpdf_offset_t m_size = 0;
    std::unique_ptr<PlainXrefTable> m_table;
    std::shared_ptr<FileBlockSource> m_source;
    // Holds the references the parser makes; nothing in it is ever resolved.
    QPDF m_scratch;
    QPDFObjectHandle m_trailer;
    QPDFObjGen m_root;
    std::vector<QPDFObjGen> m_kids;
    std::string m_rootDictionary;
    QPDFObjectHandle m_rootParsed;
    int m_claimed = 0;
};
