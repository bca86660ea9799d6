// compress --level from the outside: each level's output and what it says, and hostile images
// under a memory limit.

#include "core/converter/ChildProcess.h"
#include "core/converter/PageToolRunner.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using Converter::ChildProcess;

namespace {

ChildProcess::Result runCli(const TempDir& dir, std::vector<std::string> args, const std::string& limit = {})
{
    ChildProcess::Options options;
    options.captureOutput = true;
    options.workingDirectory = dir.path().string();
    // Sanitizer builds reserve terabytes of shadow memory, which no address space limit allows
    // (the engine gives its children none there either).
    if (limit.empty() || Converter::PageToolRunner::kMemoryLimit == 0)
        return ChildProcess::run(KORVEX_CLI_PATH, args, nullptr, options);
    // prlimit (util-linux) caps the address space of the front end and so of its children.
    args.insert(args.begin(), {"--as=" + limit, "--", KORVEX_CLI_PATH});
    return ChildProcess::run("/usr/bin/prlimit", args, nullptr, options);
}

// One page drawing an image that claims 100,000 × 100,000 pixels and one whose flate data
// is cut short, both far above any level's resolution.
void writeHostile(const fs::path& path)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(1);
    const std::string fonts = "/Resources << /Font << /F1 3 0 R >> >>";
    objects[3].replace(objects[3].find(fonts), fonts.size(),
                       "/Resources << /Font << /F1 3 0 R >> /XObject << /H 6 0 R /C 7 0 R >> >>");
    const std::string content = "q 200 0 0 200 0 0 cm /H Do Q q 200 0 0 200 0 0 cm /C Do Q";
    objects[4] = "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream";
    const std::string tiny(100, '\x7f');
    objects.push_back("<< /Type /XObject /Subtype /Image /Width 100000 /Height 100000 /ColorSpace /DeviceGray "
                      "/BitsPerComponent 8 /Length 100 >>\nstream\n" + tiny + "\nendstream");
    // A zlib header and then the first bytes of a stream that goes nowhere.
    const std::string cut = std::string("\x78\x9c\xed\xc1\x01\x0d\x00\x00\x00\xc2\xa0\xf7\x4f\x6d", 14);
    objects.push_back("<< /Type /XObject /Subtype /Image /Width 3000 /Height 3000 /ColorSpace /DeviceRGB "
                      "/BitsPerComponent 8 /Filter /FlateDecode /Length " + std::to_string(cut.size()) +
                      " >>\nstream\n" + cut + "\nendstream");
    PdfFactory::writeObjects(path, objects);
}

} // namespace

TEST(CliCompress, EveryLevelWritesItsOutputAndSaysHowMuchSmallerItIs)
{
    TempDir dir;
    PdfFactory::write(dir.file("ten.pdf"), 10);
    for (const std::string level : {"standard", "lossless", "balanced", "strong"}) {
        const auto run = runCli(dir, {"compress", "ten.pdf", "--level", level, "--out", level});
        EXPECT_EQ(run.exitCode, 0) << level << run.errorTail;
        const fs::path out = dir.file(level + "/ten_Compress.pdf");
        EXPECT_EQ(run.output, out.string() + "\n");
        EXPECT_EQ(PdfFactory::pageNumbers(out), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << level;
        // "ten.pdf: 1.23 KB → 1.10 KB (−11%)"
        EXPECT_NE(run.errorTail.find("ten.pdf: "), std::string::npos);
        EXPECT_NE(run.errorTail.find(" KB \u2192 "), std::string::npos) << run.errorTail;
        if (level != "standard") {
            EXPECT_LE(fs::file_size(out), fs::file_size(dir.file("ten.pdf"))) << level;
        }
    }
    const auto zh = runCli(dir, {"compress", "ten.pdf", "--level", "lossless", "--lang", "zh", "--out", "zh"});
    EXPECT_NE(zh.errorTail.find("\uFF08"), std::string::npos) << zh.errorTail; // Chinese brackets
}

TEST(CliCompress, HostileImagesEndInAnAnswerWithinAMemoryLimit)
{
    TempDir dir;
    writeHostile(dir.file("hostile.pdf"));
    for (const std::string level : {"lossless", "balanced", "strong"}) {
        const auto run = runCli(dir, {"compress", "hostile.pdf", "--level", level, "--out", level}, "1610612736");
        ASSERT_TRUE(run.started);
        // Done with the images left alone, or a failure with its reason; never a crash.
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << level << " " << run.exitCode << run.errorTail;
        EXPECT_EQ(run.signal, 0);
        const fs::path out = dir.file(level + "/hostile_Compress.pdf");
        if (run.exitCode == 0) {
            EXPECT_EQ(PdfFactory::pageCount(out), 1);
            EXPECT_LE(fs::file_size(out), fs::file_size(dir.file("hostile.pdf")));
        } else {
            EXPECT_FALSE(fs::exists(out));
            EXPECT_NE(run.errorTail.find("Reason"), std::string::npos);
        }
    }
}
