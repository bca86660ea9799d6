#pragma once
// The newest cross-reference section of a file, read whole when it is a plain table whose
// entries are written as the syntax says (20 bytes each) and whose trailer comes right after.
// Read here in one pass, a table of 200,000 entries costs a few milliseconds; qpdf takes a
// line, a string and a map node for each.

#include <qpdf/Types.h>

#include <string>
#include <vector>

class PlainXrefTable {
public:
    struct Entry {
        qpdf_offset_t offset = 0; // in use: where the object starts; free: the next free one
        int generation = 0;
        char type = 0; // 'n' in use, 'f' free, 0 not listed
    };

    // The file open as fd, of size bytes. usable() is false when its newest section is no
    // such table.
    PlainXrefTable(int fd, qpdf_offset_t size);

    bool usable() const { return m_usable; }
    // Where the section's "xref" and its "trailer" start.
    qpdf_offset_t tableOffset() const { return m_table; }
    qpdf_offset_t trailerOffset() const { return m_trailer; }
    // The entry of object, type 0 when the table does not list it.
    Entry entry(int object) const;
    // The number of objects the table could list (its highest listed object plus one).
    int size() const { return static_cast<int>(m_entries.size()); }
    // A table in the same syntax that lists only these objects (ascending, each listed here),
    // each as this one lists it.
    std::string only(const std::vector<int>& objects) const;

private:
    bool read(int fd, qpdf_offset_t size);

    bool m_usable = false;
    qpdf_offset_t m_table = 0;
    qpdf_offset_t m_trailer = 0;
    std::vector<Entry> m_entries;
};
