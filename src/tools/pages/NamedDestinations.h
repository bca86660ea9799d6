#pragma once
// Named destinations of a document whose page list a job has changed: names whose page is no
// longer in the document are dropped, so they neither dangle nor keep the removed pages (and
// all that those pages use) in the written file.

#include <qpdf/QPDF.hh>

void dropNamesOfRemovedPages(QPDF& pdf);
