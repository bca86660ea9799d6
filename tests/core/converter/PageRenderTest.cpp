// Page images through the real korvex-render: sizes, labels, hostile files, and ending the child.

#include "core/common/Utils.h"
#include "core/converter/PageRenderClient.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

using Converter::PageRenderClient;

namespace {

struct Drawn {
    int page;
    int width;
    int pngWidth; // 0 when no image came
};

// The width in a PNG's header, 0 when the file is no PNG.
int pngWidth(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return 0;
    const auto b = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
    return (b(16) << 24) | (b(17) << 16) | (b(18) << 8) | b(19);
}

class Recorder {
public:
    std::function<void(const PageRenderClient::Image&)> callback()
    {
        return [this](const PageRenderClient::Image& image) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_drawn.push_back({image.page, image.width, image.file.empty() ? 0 : pngWidth(image.file)});
            if (!image.file.empty())
                m_files.push_back(image.file);
        };
    }
    // Waits (bounded) until count answers have come.
    std::vector<Drawn> await(std::size_t count)
    {
        for (int i = 0; i < 6000; ++i) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_drawn.size() >= count)
                    return m_drawn;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_drawn;
    }
    std::vector<std::string> files()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_files;
    }

private:
    std::mutex m_mutex;
    std::vector<Drawn> m_drawn;
    std::vector<std::string> m_files;
};

std::wstring wide(const std::filesystem::path& path)
{
    return Utils::utf8ToWide(path.string());
}

} // namespace

TEST(PageRender, DrawsTheAskedPagesAtTheAskedWidthAndRemovesTheFiles)
{
    TempDir dir;
    const auto pdf = dir.path() / "five.pdf";
    PdfFactory::write(pdf, 5);
    Recorder recorder;
    std::vector<Drawn> drawn;
    {
        PageRenderClient client(wide(pdf), recorder.callback());
        client.request(1, 120);
        client.request(5, 64);
        client.request(1, 120); // asked twice, drawn once
        client.request(6, 64);  // beyond the document: a placeholder
        drawn = recorder.await(3);
    }
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].page, 1);
    EXPECT_EQ(drawn[0].pngWidth, 120);
    EXPECT_EQ(drawn[1].page, 5);
    EXPECT_EQ(drawn[1].pngWidth, 64);
    EXPECT_EQ(drawn[2].page, 6);
    EXPECT_EQ(drawn[2].pngWidth, 0);
    for (const std::string& file : recorder.files())
        EXPECT_FALSE(std::filesystem::exists(file)) << file;
}

TEST(PageRender, InfoGivesThePageCountAndLabels)
{
    TempDir dir;
    const auto plain = dir.path() / "plain.pdf";
    PdfFactory::write(plain, 4);
    const PageRenderClient::Info info = PageRenderClient::info(wide(plain));
    EXPECT_TRUE(info.ok);
    EXPECT_EQ(info.pageCount, 4);
    EXPECT_TRUE(info.labels.empty());

    // Roman numerals for the front matter, then 1, 2.
    std::vector<std::string> objects = PdfFactory::documentObjects(4);
    objects[0] = "<< /Type /Catalog /Pages 2 0 R /PageLabels << /Nums [0 << /S /r >> 2 << /S /D >>] >> >>";
    const auto labelled = dir.path() / "labelled.pdf";
    PdfFactory::writeObjects(labelled, objects);
    const PageRenderClient::Info withLabels = PageRenderClient::info(wide(labelled));
    EXPECT_EQ(withLabels.pageCount, 4);
    EXPECT_EQ(withLabels.labels, (std::map<int, std::string>{{1, "i"}, {2, "ii"}, {3, "1"}, {4, "2"}}));
}

TEST(PageRender, HostileFilesGivePlaceholdersNeverAHang)
{
    TempDir dir;
    const auto truncated = dir.path() / "truncated.pdf";
    HostilePdf::writeTruncated(truncated, 3);
    const auto looping = dir.path() / "looping.pdf";
    HostilePdf::writePageTreeLoop(looping);

    const auto overstated = dir.path() / "overstated.pdf";
    HostilePdf::writeStatedPageCount(overstated, 2, 2000000000LL);

    const auto garbage = dir.path() / "garbage.pdf";
    std::ofstream(garbage, std::ios::binary) << "%PDF-1.7\n" << std::string(5000, '\xff');

    for (const auto& file : {truncated, looping, overstated, garbage}) {
        SCOPED_TRACE(file.filename().string());
        const PageRenderClient::Info info = PageRenderClient::info(wide(file));
        EXPECT_LE(info.pageCount, 3);
        Recorder recorder;
        PageRenderClient client(wide(file), recorder.callback());
        client.request(1, 80);
        client.request(3, 80);
        client.request(1000000, 80);
        const std::vector<Drawn> drawn = recorder.await(3);
        ASSERT_EQ(drawn.size(), 3u);
        EXPECT_EQ(drawn[2].pngWidth, 0);
    }
}

TEST(PageRender, ReplacingOrEndingTheClientEndsTheChild)
{
    TempDir dir;
    const auto pdf = dir.path() / "many.pdf";
    PdfFactory::write(pdf, 400);
    Recorder recorder;
    pid_t child = 0;
    {
        PageRenderClient client(wide(pdf), recorder.callback());
        for (int page = 1; page <= 400; ++page)
            client.request(page, 1600);
        // The first image shows the child is drawing; the client then goes with it running.
        recorder.await(1);
        child = client.childPid();
    }
    EXPECT_LT(recorder.await(0).size(), 400u);
    if (child != 0) {
        EXPECT_NE(::kill(child, 0), 0) << "the child outlived its client";
    }

    Recorder second;
    PageRenderClient client(wide(pdf), second.callback());
    for (int page = 1; page <= 400; ++page)
        client.request(page, 1600);
    second.await(1);
    // Only page 7 is wanted now: what was queued goes, and no placeholder stands for it.
    client.replace({{7, 50}});
    std::vector<Drawn> drawn;
    for (int i = 0; i < 6000; ++i) {
        drawn = second.await(0);
        if (!drawn.empty() && drawn.back().page == 7)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().page, 7);
    EXPECT_EQ(drawn.back().pngWidth, 50);
    EXPECT_LT(drawn.size(), 40u);
    for (const Drawn& d : drawn)
        EXPECT_TRUE(d.pngWidth != 0 || d.page == 7) << d.page;
}
