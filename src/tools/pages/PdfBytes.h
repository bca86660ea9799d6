#pragma once
// Bytes of a PDF file as its syntax sees them, for the readers that look at the file itself.

#include <cstddef>
#include <string>

// White space as PDF counts it (NUL, tab, line feed, form feed, carriage return, space).
bool isPdfWhite(char c);
// One of ( ) < > [ ] { } / %.
bool isPdfDelimiter(char c);

// Up to length bytes of the file open as fd from offset; fewer at its end or on a read error.
std::string readFileAt(int fd, long long offset, std::size_t length);
