#include "support/BookmarkedPdf.h"

#include "core/common/Utils.h"
#include "support/PdfFactory.h"

#include <cstdio>
#include <functional>

namespace BookmarkedPdf {

namespace {

// A PDF text string in UTF-16BE with its byte order mark, as hex.
std::string textString(const std::string& utf8)
{
    std::string hex = "<FEFF";
    char unit[8];
    const auto put = [&](unsigned value) {
        std::snprintf(unit, sizeof unit, "%04X", value);
        hex += unit;
    };
    for (wchar_t c : Utils::utf8ToWide(utf8)) {
        const auto code = static_cast<unsigned>(c);
        if (code > 0xFFFF) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
    }
    return hex + ">";
}

std::string pageRef(int page)
{
    return std::to_string(4 + 2 * (page - 1)) + " 0 R";
}

} // namespace

void write(const std::filesystem::path& path, int pages, const std::vector<Mark>& outline)
{
    write(path, PdfFactory::documentObjects(pages), outline);
}

void write(const std::filesystem::path& path, std::vector<std::string> objects, const std::vector<Mark>& outline)
{
    std::string nameTree;    // (name) [dest] pairs, in name order
    std::string catalogDests; // /name << /D [dest] >>
    int names = 0;
    const auto reserve = [&] {
        objects.emplace_back();
        return static_cast<int>(objects.size());
    };
    // Writes the items of one level under parent; returns (first, last, visible count).
    std::function<int(const std::vector<Mark>&, int, int&, int&)> level =
        [&](const std::vector<Mark>& marks, int parent, int& first, int& last) {
            std::vector<int> numbers;
            for (std::size_t i = 0; i < marks.size(); ++i)
                numbers.push_back(reserve());
            int count = 0;
            for (std::size_t i = 0; i < marks.size(); ++i) {
                const Mark& mark = marks[i];
                const std::string dest = "[" + pageRef(mark.page) + " /XYZ 0 200 0]";
                std::string item = "<< /Title " + textString(mark.title) + " /Parent " +
                                   std::to_string(parent) + " 0 R";
                char name[16];
                std::snprintf(name, sizeof name, "d%04d", ++names);
                switch (mark.target) {
                case Target::Page: item += " /Dest " + dest; break;
                case Target::NameTree:
                    item += std::string(" /Dest (") + name + ")";
                    nameTree += std::string("(") + name + ") " + dest + " ";
                    break;
                case Target::CatalogDests:
                    item += std::string(" /Dest /") + name;
                    catalogDests += std::string("/") + name + " << /D " + dest + " >> ";
                    break;
                case Target::GoToAction: item += " /A << /S /GoTo /D [" + pageRef(mark.page) + " /Fit] >>"; break;
                case Target::None: break;
                }
                if (i > 0)
                    item += " /Prev " + std::to_string(numbers[i - 1]) + " 0 R";
                if (i + 1 < marks.size())
                    item += " /Next " + std::to_string(numbers[i + 1]) + " 0 R";
                if (!mark.children.empty()) {
                    int childFirst = 0, childLast = 0;
                    const int shown = level(mark.children, numbers[i], childFirst, childLast);
                    item += " /First " + std::to_string(childFirst) + " 0 R /Last " +
                            std::to_string(childLast) + " 0 R /Count " + std::to_string(shown);
                    count += shown;
                }
                objects[numbers[i] - 1] = item + " >>";
                ++count;
            }
            first = numbers.empty() ? 0 : numbers.front();
            last = numbers.empty() ? 0 : numbers.back();
            return count;
        };

    std::string catalog = "<< /Type /Catalog /Pages 2 0 R";
    if (!outline.empty()) {
        const int root = reserve();
        int first = 0, last = 0;
        const int shown = level(outline, root, first, last);
        objects[root - 1] = "<< /Type /Outlines /First " + std::to_string(first) + " 0 R /Last " +
                            std::to_string(last) + " 0 R /Count " + std::to_string(shown) + " >>";
        catalog += " /Outlines " + std::to_string(root) + " 0 R /PageMode /UseOutlines";
    }
    if (!nameTree.empty())
        catalog += " /Names << /Dests << /Names [ " + nameTree + "] >> >>";
    if (!catalogDests.empty())
        catalog += " /Dests << " + catalogDests + ">>";
    objects[0] = catalog + " >>";
    PdfFactory::writeObjects(path, objects);
}

} // namespace BookmarkedPdf
