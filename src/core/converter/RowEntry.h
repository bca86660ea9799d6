#pragma once
// The main window's record of one file-list row; the workers read and update it under the
// registry lock.

#include <cstdint>
#include <string>
#include <vector>

struct RowEntry {
    RowEntry(std::wstring path, int zone) : path(path), originalPath(std::move(path)), zone(zone) {}

    // Replaced by the decrypted copy's path once the file has been decrypted.
    std::wstring path;
    // The file the user added, whatever path now reads from: output names are claimed
    // against it, so no output replaces it.
    std::wstring originalPath;
    int pageCount = -1;
    int fromPage = -1;
    int toPage = -1;
    bool inspected = false;
    bool pending = true;
    int zone;
    // 1: every pagesPerPiece pages; 2: at the bookmarks of bookmarkLevel; 3: pieces of at most
    // pieceBytes; zero: at splitPoints.
    int splitMode = 1;
    std::uintmax_t pieceBytes = 0;
    int pagesPerPiece = 1;
    std::vector<int> splitPoints;
    int bookmarkLevel = 1;
    // Merge rows: the row's pages go last to first.
    bool reversed = false;
    // Compress rows: the level's index (0 standard, 1 lossless, 2 balanced, 3 strong).
    int compressionLevel = 0;
};
