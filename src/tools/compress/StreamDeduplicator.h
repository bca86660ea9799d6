#pragma once
// Stores identical streams once: streams whose raw data and dictionary (less /Length) are the
// same are all pointed at the first of them; the writer then leaves the others out.

#include <qpdf/QPDF.hh>

class StreamDeduplicator {
public:
    // The number of streams that were folded into another.
    static int run(QPDF& pdf);
};
