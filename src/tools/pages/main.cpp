// korvex-pages: the engine's page work in one load of each input.
//
//   korvex-pages split INPUT FOLDER --pieces          ranges ("3-7") on standard input, one a line
//   korvex-pages split INPUT FOLDER --bookmarks LEVEL one piece per bookmark of that level
//   korvex-pages split INPUT FOLDER --size BYTES [A-B] pieces of at most BYTES as written, in
//                                                     page order, each as long as fits
//   korvex-pages extract INPUT RANGE OUTPUT
//   korvex-pages merge [--alternate] OUTPUT INPUT RANGE [INPUT RANGE]...
//                                                     --alternate: one page of each in turn
//   korvex-pages count INPUT                          the pages of the page tree, whatever
//                                                     its /Count says
//   korvex-pages count --stated INPUT                 the /Count its root states, as
//                                                     qpdf --show-npages prints it
//   korvex-pages starts INPUT LEVEL                   the first page of each bookmark of that
//                                                     level, one a line (the split's plan, unwritten)
//
// A split first prints its plan, "piece\t<n>\t<first>\t<last>\t<title>" for every piece and
// "planned\t<count>", then "wrote\t<n>" as soon as FOLDER/<n>.pdf is complete; the caller
// names and moves the pieces. A split by size cannot plan ahead: it prints each piece's line
// just before its "wrote" line, with "oversize\t<n>" between them when the piece is a single
// page larger than BYTES.
// Bookmarks follow their pages everywhere. Exit codes: 0 done, 3 done with warnings (as qpdf),
// 2 failed, 4 the input has no bookmarks of the asked level.

#include "FileBlockSource.h"
#include "HugePageHeap.h"
#include "HugePages.h"
#include "PageJobs.h"
#include "SizeSplitter.h"
#include "tools/common/OutOfMemory.h"

#include <qpdf/QPDFExc.hh>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 2;
constexpr int kWarnings = 3;
constexpr int kNoBookmarks = 4;

struct NoBookmarks : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int usage()
{
    std::cerr << "usage: korvex-pages split INPUT FOLDER (--pieces | --bookmarks LEVEL | --size BYTES [A-B])\n"
                 "       korvex-pages extract INPUT RANGE OUTPUT\n"
                 "       korvex-pages merge [--alternate] OUTPUT INPUT RANGE [INPUT RANGE]...\n"
                 "       korvex-pages count [--stated] INPUT\n"
                 "       korvex-pages starts INPUT LEVEL\n";
    return kFailed;
}

// Far more than a file name can take; the caller cuts it further.
constexpr std::size_t kLongestPlanTitle = 1024;

// A title on one short line of the plan, cut at a character boundary.
std::string oneLine(std::string text)
{
    if (text.size() > kLongestPlanTitle) {
        std::size_t end = kLongestPlanTitle;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        text.resize(end);
    }
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

// The name without folder and extension: the top bookmark of a merged file.
std::string fileTitle(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// Ends the process once the outputs are complete, without taking the loaded documents apart
// object by object: that costs as much as a tenth of a run and the system frees it all anyway.
[[noreturn]] void leave(int code)
{
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(code);
}

// Tells the caller that piece n is complete. The line goes out at once only every 20 ms (and
// at the end): a split into 20,000 single pages otherwise costs 20,000 writes here and as many
// wake-ups and reads in the caller, a tenth of its system time, for progress no one sees.
void announceWritten(int n)
{
    static auto last = std::chrono::steady_clock::time_point();
    std::cout << "wrote\t" << n << '\n';
    const auto now = std::chrono::steady_clock::now();
    if (now - last >= std::chrono::milliseconds(20)) {
        std::cout.flush();
        last = now;
    }
}

bool anyWarnings(const std::vector<SourcePdf*>& sources)
{
    for (SourcePdf* source : sources) {
        if (source->pdf().anyWarnings())
            return true;
    }
    return false;
}

// A byte count of at most 18 digits: anything longer is no size a file can have here.
std::uintmax_t readBytes(const std::string& text)
{
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
        throw std::runtime_error("not a size in bytes: \"" + text + "\"");
    const std::uintmax_t bytes = std::stoull(text);
    if (bytes == 0)
        throw std::runtime_error("a piece needs a size above 0 bytes");
    return bytes;
}

int splitBySize(SourcePdf& source, const std::string& folder, const std::vector<std::string>& how)
{
    const std::uintmax_t limit = readBytes(how[1]);
    int first = 1, last = source.pageCount();
    if (how.size() == 3) {
        const PageList pages = parsePages(how[2], source.pageCount());
        first = std::min(pages.front(), pages.back()) + 1;
        last = std::max(pages.front(), pages.back()) + 1;
    }
    SizeSplitter splitter(source, limit, folder);
    splitter.run(first, last, [](int n, int from, int to, bool oversize) {
        std::cout << "piece\t" << n << '\t' << from << '\t' << to << "\t\n";
        if (oversize)
            std::cout << "oversize\t" << n << '\n';
        announceWritten(n);
    });
    return anyWarnings({&source}) ? kWarnings : kDone;
}

int split(const std::string& input, const std::string& folder, const std::vector<std::string>& how)
{
    // The pieces carry bookmarks of their own, written from what was read.
    SourcePdf source(input, AfterReading::LetGo);
    if ((how.size() == 2 || how.size() == 3) && how[0] == "--size")
        return splitBySize(source, folder, how);
    std::vector<PlannedPiece> pieces; // only where pieces have titles
    // Every range is read and checked before the first piece is written. The pages of all
    // pieces are kept one after another: a split of a large file into single pages would
    // otherwise keep a list per page.
    std::vector<int> pages;
    std::vector<int> ends;
    const auto add = [&](const PageList& list) {
        if (pages.size() + list.size() > static_cast<std::size_t>(INT_MAX))
            throw std::runtime_error("too many pages in the pieces");
        pages.insert(pages.end(), list.begin(), list.end());
        ends.push_back(static_cast<int>(pages.size()));
    };
    if (how.size() == 1 && how[0] == "--pieces") {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty())
                add(parsePages(line, source.pageCount()));
        }
        if (ends.empty())
            throw std::runtime_error("no pieces given");
    } else if (how.size() == 2 && how[0] == "--bookmarks") {
        const int level = std::stoi(how[1]);
        if (level < 1)
            throw std::runtime_error("bookmark levels start at 1");
        if (source.bookmarks().empty())
            throw NoBookmarks(input + ": the document has no bookmarks");
        pieces = bookmarkPieces(source, level);
        if (pieces.empty())
            throw NoBookmarks(input + ": no bookmark of level " + how[1] + " points at a page");
        for (const PlannedPiece& piece : pieces)
            add(parsePages(std::to_string(piece.first) + "-" + std::to_string(piece.last), source.pageCount()));
    } else {
        return usage();
    }
    pages.shrink_to_fit();
    ends.shrink_to_fit();
    const auto begin = [&](std::size_t n) { return n == 0 ? 0 : ends[n - 1]; };
    for (std::size_t n = 0; n < ends.size(); ++n) {
        std::cout << "piece\t" << n + 1 << '\t' << pages[begin(n)] + 1 << '\t' << pages[ends[n] - 1] + 1 << '\t'
                  << (pieces.empty() ? std::string() : oneLine(pieces[n].title)) << '\n';
    }
    std::cout << "planned\t" << ends.size() << std::endl;
    for (std::size_t n = 0; n < ends.size(); ++n) {
        const PageList piece(pages.begin() + static_cast<std::ptrdiff_t>(begin(n)),
                             pages.begin() + static_cast<std::ptrdiff_t>(ends[n]));
        writePiece(source, piece, folder + "/" + std::to_string(n + 1) + ".pdf");
        announceWritten(static_cast<int>(n + 1));
    }
    leave(anyWarnings({&source}) ? kWarnings : kDone);
}

int count(const std::string& input)
{
    QPDF pdf;
    pdf.processInputSource(std::make_shared<FileBlockSource>(input));
    std::cout << pdf.getAllPages().size() << std::endl;
    leave(pdf.anyWarnings() ? kWarnings : kDone);
}

// qpdf --show-npages reads the same, but seeks before each small read of the cross-reference
// table: half a second for 20,000 pages, here read in blocks.
int stated(const std::string& input)
{
    QPDF pdf;
    pdf.processInputSource(std::make_shared<FileBlockSource>(input));
    std::cout << pdf.getRoot().getKey("/Pages").getKey("/Count").getIntValue() << std::endl;
    leave(pdf.anyWarnings() ? kWarnings : kDone);
}

int starts(const std::string& input, const std::string& levelText)
{
    SourcePdf source(input, AfterReading::LetGo);
    const int level = std::stoi(levelText);
    if (level < 1)
        throw std::runtime_error("bookmark levels start at 1");
    const std::vector<PlannedPiece> pieces = bookmarkPieces(source, level);
    if (pieces.empty())
        throw NoBookmarks(input + ": no bookmark of level " + levelText + " points at a page");
    for (const PlannedPiece& piece : pieces)
        std::cout << piece.first << '\n';
    std::cout.flush();
    return anyWarnings({&source}) ? kWarnings : kDone;
}

int extract(const std::string& input, const std::string& range, const std::string& output)
{
    SourcePdf source(input, [&range](int pageCount) { return parsePages(range, pageCount); });
    writeExtract(source, source.chosen(), output);
    leave(anyWarnings({&source}) ? kWarnings : kDone);
}

int merge(const std::string& output, const std::vector<std::string>& list, bool alternate)
{
    if (list.empty() || list.size() % 2 != 0)
        return usage();
    // Each file is loaded once, however often it is listed.
    std::map<std::string, std::unique_ptr<SourcePdf>> loaded;
    std::vector<SourcePdf*> sources;
    std::vector<MergeEntry> entries;
    for (std::size_t i = 0; i < list.size(); i += 2) {
        std::unique_ptr<SourcePdf>& source = loaded[list[i]];
        if (!source) {
            source = std::make_unique<SourcePdf>(list[i]);
            sources.push_back(source.get());
        }
        entries.push_back({source.get(), parsePages(list[i + 1], source->pageCount()), fileTitle(list[i])});
    }
    writeMerge(entries, output, alternate);
    leave(anyWarnings(sources) ? kWarnings : kDone);
}

// The inputs of an extract or a merge, which build one document out of them. A split goes
// without huge pages: its peak is qpdf's own already, and each piece is a small document.
std::vector<std::string> buildingFrom(const std::vector<std::string>& args)
{
    std::vector<std::string> inputs;
    if (args.size() == 4 && args[0] == "extract")
        inputs.push_back(args[1]);
    if (args.size() >= 4 && args[0] == "merge") {
        const std::size_t first = args[1] == "--alternate" ? 3 : 2;
        for (std::size_t i = first; i < args.size(); i += 2)
            inputs.push_back(args[i]);
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    OutOfMemory::endProgramOnIt("korvex-pages: out of memory", kFailed);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (HugePageHeap::worthFor(buildingFrom(args)))
        HugePages::useForHeap();
    try {
        if (args.size() >= 4 && args[0] == "split")
            return split(args[1], args[2], std::vector<std::string>(args.begin() + 3, args.end()));
        if (args.size() == 4 && args[0] == "extract")
            return extract(args[1], args[2], args[3]);
        if (args.size() == 2 && args[0] == "count")
            return count(args[1]);
        if (args.size() == 3 && args[0] == "count" && args[1] == "--stated")
            return stated(args[2]);
        if (args.size() == 3 && args[0] == "starts")
            return starts(args[1], args[2]);
        if (args.size() >= 5 && args[0] == "merge" && args[1] == "--alternate")
            return merge(args[2], std::vector<std::string>(args.begin() + 3, args.end()), true);
        if (args.size() >= 4 && args[0] == "merge")
            return merge(args[1], std::vector<std::string>(args.begin() + 2, args.end()), false);
        return usage();
    } catch (const NoBookmarks& e) {
        std::cerr << "korvex-pages: " << e.what() << '\n';
        return kNoBookmarks;
    } catch (const std::exception& e) {
        std::cerr << "korvex-pages: " << e.what() << '\n';
        return kFailed;
    }
}
