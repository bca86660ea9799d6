// korvex-render: page images of one PDF.
//
//   korvex-render info INPUT            "pages\t<n>", then "label\t<page>\t<text>" for every page
//                                       whose label is not its number
//   korvex-render pages INPUT FOLDER    requests "page <n> width <w>" on standard input, one a
//                                       line; answers "done\t<n>\t<w>\t<file>" (a PNG in FOLDER)
//                                       or "failed\t<n>\t<w>" as each is finished
//
// Exit codes: 0 done, 2 the file cannot be opened. A page that takes too long ends the program
// (SIGALRM): the caller shows a placeholder for what it did not get.

#include "PageRasterizer.h"

#include <poppler/cpp/poppler-global.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kFailed = 2;
// Seconds for opening the file, and for each page after that.
constexpr unsigned kOpenSeconds = 60;
constexpr unsigned kPageSeconds = 30;

int usage()
{
    std::cerr << "usage: korvex-render info INPUT\n"
                 "       korvex-render pages INPUT FOLDER\n";
    return kFailed;
}

void quiet(const std::string&, void*) {}

int info(const PageRasterizer& pdf)
{
    std::cout << "pages\t" << pdf.pageCount() << '\n';
    for (int page = 1; page <= pdf.pageCount(); ++page) {
        alarm(kPageSeconds);
        const std::string text = pdf.label(page);
        if (!text.empty())
            std::cout << "label\t" << page << '\t' << text << '\n';
    }
    std::cout.flush();
    return 0;
}

int pages(const PageRasterizer& pdf, const std::string& folder)
{
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string pageWord, widthWord;
        long page = 0, width = 0;
        if (!(words >> pageWord >> page >> widthWord >> width) || pageWord != "page" || widthWord != "width")
            continue;
        if (page < 1 || page > pdf.pageCount() || width < 1 || width > PageRasterizer::kWidestImage) {
            std::cout << "failed\t" << page << '\t' << width << std::endl;
            continue;
        }
        alarm(kPageSeconds);
        const std::string file = folder + "/p" + std::to_string(page) + "-w" + std::to_string(width) + ".png";
        if (pdf.render(static_cast<int>(page), static_cast<int>(width), file))
            std::cout << "done\t" << page << '\t' << width << '\t' << file << std::endl;
        else
            std::cout << "failed\t" << page << '\t' << width << std::endl;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    if (!((command == "info" && argc == 3) || (command == "pages" && argc == 4)))
        return usage();
    // Complaints about a damaged file would only fill the caller's error tail.
    poppler::set_debug_error_function(quiet, nullptr);
    alarm(kOpenSeconds);
    const PageRasterizer pdf(argv[2]);
    if (!pdf.ok()) {
        std::cerr << argv[2] << ": cannot be opened\n";
        return kFailed;
    }
    return command == "info" ? info(pdf) : pages(pdf, argv[3]);
}
