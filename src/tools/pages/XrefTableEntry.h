#pragma once
// Where a file's newest cross-reference table places one object, read from the table itself:
// qpdf hands out only a copy of its whole table, 200,000 entries for a 100,000-page file.

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/Types.h>

// The offset of object in the file open as fd; -1 when the last section is no plain table,
// does not list the object in use, or is not written as the syntax says.
qpdf_offset_t tableOffsetOf(int fd, QPDFObjGen object);
