#pragma once
// PDFs of images for the compression tests, made with libqpdf, and what an output holds,
// read back with libqpdf. Each image carries /KorvexName so it can be found again after a
// writer has renumbered everything. Every page draws its images with "cm" at the given sizes
// (in points), directly or through a form XObject whose /Matrix scales by formScale.

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ImagePdf {

enum class Kind { Rgb, Gray, RgbWithSoftMask, Indexed, Bilevel, Jpeg };

struct Image {
    std::string name;
    Kind kind = Kind::Rgb;
    int width = 0;
    int height = 0;
    int page = 1;
    std::vector<std::pair<double, double>> draws; // (width, height) in points
    bool inForm = false;
    double formScale = 1;
    // The flate data cut in half.
    bool truncated = false;
    // Sizes the dictionary claims instead of the data's (0: the data's).
    int claimedWidth = 0;
    int claimedHeight = 0;
    // A second, identical image object (same data, same dictionary) drawn beside it.
    bool storedTwice = false;
};

// pages >= the largest page of any image. The file also has two bookmarks (pages 1 and 2),
// a link on page 1 to page 2, and a named destination.
void write(const std::filesystem::path& path, const std::vector<Image>& images, int pages);

struct Found {
    int width = 0;
    int height = 0;
    std::string filter; // "/FlateDecode", "/DCTDecode", "" ...
    int maskWidth = 0;  // the soft mask's size, 0 without one
    int maskHeight = 0;
    std::string maskFilter;
};

// Every image object of the file by its /KorvexName (the last one found for a name).
std::map<std::string, Found> imagesOf(const std::filesystem::path& path);
// The number of image objects of the file that carry this /KorvexName.
int copiesOf(const std::filesystem::path& path, const std::string& name);
// For each link annotation, in page order, the page index (1-based) its destination reaches.
std::vector<int> linkTargetsOf(const std::filesystem::path& path);

} // namespace ImagePdf
