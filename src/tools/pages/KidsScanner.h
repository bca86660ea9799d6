#pragma once
// Reads one indirect object's text far enough to find its dictionary's /Kids: everything else
// is skipped with the syntax's own rules, so nothing inside a string or a nested dictionary can
// pass for the key.

#include <qpdf/QPDFObjGen.hh>

#include <string>
#include <string_view>
#include <vector>

class KidsScanner {
public:
    // The text ends before the object does: read more and scan again.
    struct NeedMore {};
    // Not an object whose /Kids this scanner can vouch for.
    struct Unusable {};

    // whole: the text runs to the file's end.
    KidsScanner(std::string_view text, bool whole);

    // The dictionary with /Kids as "[]", and the references it held. Throws NeedMore or Unusable.
    std::string read(QPDFObjGen object, std::vector<QPDFObjGen>& kids);
    // The same for the object at offset of the file open as fd, read in growing blocks of up to
    // 16 MiB; empty, with no kids, when it cannot be read so.
    static std::string readFrom(int fd, long long offset, QPDFObjGen object, std::vector<QPDFObjGen>& kids);

private:
    char peek();
    // White space and comments.
    void space();
    void expect(std::string_view what);
    // A run of regular characters after white space; empty at a delimiter or the file's end.
    std::string_view word();
    std::string_view name();
    // A decimal of digits only, at most INT_MAX; -1 otherwise.
    static long long number(std::string_view digits);
    void references(std::vector<QPDFObjGen>& kids);
    // One reference at the position in its usual form, read quickly; false, with nothing
    // read, for anything else.
    bool plainReference(std::vector<QPDFObjGen>& kids);
    void skipString();
    // At most 64 levels of arrays and dictionaries.
    void skipValue(int depth);

    std::string_view m_text;
    bool m_whole;
    std::size_t m_at = 0;
};
