#pragma once
// The opaque id of a file-list row; the gui maps it to the row's widgets. 0 names no row.

#include <cstdint>

using RowId = std::uint64_t;
