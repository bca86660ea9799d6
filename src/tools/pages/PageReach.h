#pragma once
// Whether some pages of a document refer, through any chain of references, to what is not
// theirs: another page, a node of a page tree, the catalog.

#include <qpdf/QPDF.hh>

#include <vector>

// pages: the document's page list; chosen: indices into it. The chosen pages' own /Parent is
// not followed. True when nothing outside them is reached: a writer given only these pages
// then takes along nothing of the rest of the document.
bool staysWithin(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages, const std::vector<int>& chosen);
