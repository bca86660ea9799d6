#pragma once
// Bytes of a PDF file as its syntax sees them, for the readers that look at the file itself.

#include <cstddef>
#include <string>

// White space as PDF counts it (NUL, tab, line feed, form feed, carriage return, space).
bool isPdfWhite(char c);
// One of ( ) < > [ ] { } / %.
bool isPdfDelimiter(char c);

// The position after the blanks at text[at] and the end of line after them, if any: where the
// entries of a cross-reference section start after its header.
std::size_t pastLineEnd(const std::string& text, std::size_t at);

// Up to length bytes of the file open as fd from offset; fewer at its end or on a read error.
std::string readFileAt(int fd, long long offset, std::size_t length);
