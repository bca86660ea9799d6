#include "support/HostilePdf.h"

#include "support/PdfFactory.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace HostilePdf {

namespace {

std::string ref(int object)
{
    return std::to_string(object) + " 0 R";
}

std::string pageRef(int page)
{
    return ref(4 + 2 * (page - 1));
}

void addOutlines(std::vector<std::string>& objects, int outlines)
{
    objects[0] = "<< /Type /Catalog /Pages 2 0 R /Outlines " + ref(outlines) + " >>";
}

} // namespace

void writeOutlineLoop(const std::filesystem::path& path, OutlineLoop loop)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(3);
    const int outlines = static_cast<int>(objects.size()) + 1;
    const int intro = outlines + 1;
    const int chapter = outlines + 2;
    const int section = outlines + 3;
    const std::string first = loop == OutlineLoop::FirstToOutlines ? ref(outlines)
                              : loop == OutlineLoop::FirstToCatalog ? ref(1)
                                                                    : ref(intro);
    objects.push_back("<< /Type /Outlines /First " + first + " /Last " + ref(chapter) + " /Count 3 >>");
    objects.push_back("<< /Title (Intro) /Parent " + ref(outlines) + " /Next " + ref(chapter) + " /Dest [" +
                      pageRef(1) + " /Fit] >>");
    objects.push_back("<< /Title (Chapter) /Parent " + ref(outlines) + " /Prev " + ref(intro) + " /First " +
                      (loop == OutlineLoop::FirstToItself ? ref(chapter) : ref(section)) + " /Last " +
                      ref(section) + " /Count 1 /Dest [" + pageRef(2) + " /Fit] >>");
    objects.push_back("<< /Title (Section) /Parent " + ref(chapter) +
                      (loop == OutlineLoop::NextToItself ? " /Next " + ref(section) : std::string()) +
                      " /Dest [" + pageRef(3) + " /Fit] >>");
    addOutlines(objects, outlines);
    PdfFactory::writeObjects(path, objects);
}

void writeStatedPageCount(const std::filesystem::path& path, int pages, long long stated)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(pages);
    const std::string real = "/Count " + std::to_string(pages) + " >>";
    objects[1].replace(objects[1].rfind(real), real.size(), "/Count " + std::to_string(stated) + " >>");
    PdfFactory::writeObjects(path, objects);
}

void writeLongTitles(const std::filesystem::path& path, int bookmarks, std::size_t titleBytes)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(bookmarks);
    const int title = static_cast<int>(objects.size()) + 1;
    const int outlines = title + 1;
    objects.push_back("(" + std::string(titleBytes, 'T') + ")");
    objects.push_back("<< /Type /Outlines /First " + ref(outlines + 1) + " /Last " + ref(outlines + bookmarks) +
                      " /Count " + std::to_string(bookmarks) + " >>");
    for (int i = 1; i <= bookmarks; ++i) {
        std::string item = "<< /Title " + ref(title) + " /Parent " + ref(outlines) + " /Dest [" + pageRef(i) + " /Fit]";
        if (i > 1)
            item += " /Prev " + ref(outlines + i - 1);
        if (i < bookmarks)
            item += " /Next " + ref(outlines + i + 1);
        objects.push_back(item + " >>");
    }
    addOutlines(objects, outlines);
    PdfFactory::writeObjects(path, objects);
}

void writeTruncated(const std::filesystem::path& path, int pages)
{
    PdfFactory::write(path, pages);
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 3);
}

void writePageTreeLoop(const std::filesystem::path& path)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(2);
    objects[1] = "<< /Type /Pages /Kids [ " + pageRef(1) + " 2 0 R " + pageRef(2) + " ] /Count 3 >>";
    PdfFactory::writeObjects(path, objects);
}

void writeSlowPages(const std::filesystem::path& path, int pages, int depth)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(pages);
    const int firstForm = static_cast<int>(objects.size()) + 1;
    for (int level = 0; level < depth; ++level) {
        std::string content;
        if (level + 1 < depth) {
            const std::string next = "/F" + std::to_string(level + 1);
            for (int i = 0; i < 10; ++i)
                content += next + " Do ";
        } else {
            content = "0 0 1 rg 10 10 200 100 re f";
        }
        std::string resources;
        if (level + 1 < depth)
            resources = " /Resources << /XObject << /F" + std::to_string(level + 1) + " " + ref(firstForm + level + 1) +
                        " >> >>";
        objects.push_back("<< /Type /XObject /Subtype /Form /BBox [0 0 300 200]" + resources + " /Length " +
                          std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream");
    }
    const std::string drawFirst = "q /F0 Do Q";
    for (int page = 1; page <= pages; ++page) {
        std::string& pageObject = objects[3 + 2 * (page - 1)];
        pageObject.replace(pageObject.find("/Font << /F1 3 0 R >>"), 21,
                           "/Font << /F1 3 0 R >> /XObject << /F0 " + ref(firstForm) + " >>");
        objects[4 + 2 * (page - 1)] = "<< /Length " + std::to_string(drawFirst.size()) + " >>\nstream\n" +
                                      drawFirst + "\nendstream";
    }
    PdfFactory::writeObjects(path, objects);
}

} // namespace HostilePdf
