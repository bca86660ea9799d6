#pragma once
// The /Kids of the page tree's root, read straight from the file. qpdf makes an object of its
// own for every reference of an array it parses: for a tree of one flat node of 100,000 pages
// that is 90 ms and 34 MB before the first page is read, when an extract needs a few of them.
// Taken only when they are many, the root is a plain dictionary at a known place of an
// unencrypted file and its /Kids an array of nothing but references; anything else stays as
// qpdf reads it.

#include <qpdf/QPDF.hh>

#include <string>
#include <vector>

class RootKids {
public:
    // When they can be taken, the root in pdf becomes its dictionary as the file has it, with
    // an empty /Kids; their references are in taken().
    RootKids(QPDF& pdf, const std::string& path);
    // The same with the root's kids and its dictionary already read from the file
    // (KidsScanner::readFrom).
    RootKids(QPDF& pdf, QPDFObjGen root, std::vector<QPDFObjGen> kids, const std::string& dictionary);

    // Empty when the root was left as it was.
    const std::vector<QPDFObjGen>& taken() const { return m_kids; }
    QPDFObjGen root() const { return m_root; }

    // Gives the root its /Kids again, as qpdf would have read them, and taken() becomes empty.
    void putBack();

private:
    void take(const std::string& dictionary);

    QPDF& m_pdf;
    QPDFObjGen m_root;
    std::vector<QPDFObjGen> m_kids;
};
