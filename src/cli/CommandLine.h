#pragma once
// The arguments of korvex-pdf-cli, read and checked. Numbers are refused when they are not
// whole numbers in the int range (and pieces sizes below 1), so a job never starts with a
// plan that cannot end.

#include "core/converter/CompressionLevel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CommandLine {
public:
    enum class Command { Info, Extract, Compress, Decrypt, Merge, Split };

    struct Input {
        std::wstring path;
        // Page range text for a merge ("3-7"); every page when empty.
        std::wstring range;
        // A merge entry marked ":r": its pages last to first (the backs of a duplex scan).
        bool reversed = false;
    };

    // Reads argv; on a usage error returns nothing and sets error. helpOnly is set for --help.
    static std::optional<CommandLine> parse(const std::vector<std::string>& args, std::string& error,
                                            bool& helpOnly);
    static const char* usage();

    Command command = Command::Info;
    std::vector<Input> inputs;
    // extract --pages A-B
    int fromPage = 0;
    int toPage = 0;
    // split --every N, or --at P1,P2,...
    int every = 0;
    std::vector<int> points;
    // split --bookmarks LEVEL: one file per bookmark of that level (1 = top); 0 when not given.
    int bookmarkLevel = 0;
    // split --size MB: pieces of at most this many bytes as written; 0 when not given.
    std::uintmax_t pieceBytes = 0;
    // merge --alternate: one page of each file in turn.
    bool alternate = false;
    // compress --level L
    Converter::CompressionLevel level = Converter::CompressionLevel::Standard;
    // Empty: the current folder.
    std::wstring outFolder;
    bool chinese = false;
    // decrypt --password-file F ("-" for standard input); empty when not given.
    std::string passwordFile;
};
