#include "core/converter/PageRenderClient.h"

#include "core/common/Utils.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/converter/SiblingProgram.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace Converter {

namespace {

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t tab = line.find('\t');
        out.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return out;
        line.remove_prefix(tab + 1);
    }
}

int number(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::wstring PageRenderClient::programPath()
{
    return SiblingProgram::find(L"korvex-render", KORVEX_RENDER_PATH);
}

PageRenderClient::PageRenderClient(std::wstring pdf, std::function<void(const Image&)> onImage)
    : m_pdf(std::move(pdf)), m_onImage(std::move(onImage))
{
    // A subfolder of the run's private folder, so the images go when the run does.
    const std::wstring copy = PrivateTempFolder::instance().newCopyPath(L"pages");
    if (!copy.empty()) {
        m_folder = copy;
        std::error_code error;
        std::filesystem::create_directory(Utils::wideToUtf8(copy), error);
        if (error)
            m_folder.clear();
    }
    m_thread = std::thread([this] { work(); });
}

PageRenderClient::~PageRenderClient()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_waiting.clear();
    }
    m_slot.close();
    m_wake.notify_all();
    m_thread.join();
    if (!m_folder.empty()) {
        std::error_code error;
        std::filesystem::remove_all(Utils::wideToUtf8(m_folder), error);
        PrivateTempFolder::instance().removeCopy(m_folder);
    }
}

void PageRenderClient::request(int page, int width)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::pair<int, int> asked{page, width};
        if (std::find(m_waiting.begin(), m_waiting.end(), asked) != m_waiting.end())
            return;
        m_waiting.push_back(asked);
    }
    m_wake.notify_all();
}

void PageRenderClient::replace(const std::vector<std::pair<int, int>>& requests)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.clear();
        bool currentWanted = false;
        for (const auto& asked : requests) {
            if (std::find(m_current.begin(), m_current.end(), asked) != m_current.end())
                currentWanted = true;
            else
                m_waiting.push_back(asked);
        }
        if (!currentWanted && !m_current.empty()) {
            m_dropCurrent = true;
            m_slot.terminate();
        }
    }
    m_wake.notify_all();
}

void PageRenderClient::cancel()
{
    replace({});
}

bool PageRenderClient::drawing() const
{
    return m_slot.current() != 0;
}

void PageRenderClient::work()
{
    while (true) {
        std::vector<std::pair<int, int>> batch;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_waiting.empty(); });
            if (m_stop)
                return;
            while (!m_waiting.empty() && batch.size() < kBatch) {
                batch.push_back(m_waiting.front());
                m_waiting.pop_front();
            }
            m_current = batch;
            m_dropCurrent = false;
        }
        drawBatch(batch);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_current.clear();
    }
}

void PageRenderClient::drawBatch(const std::vector<std::pair<int, int>>& batch)
{
    std::string input;
    for (const auto& [page, width] : batch)
        input += "page " + std::to_string(page) + " width " + std::to_string(width) + "\n";
    std::vector<std::pair<int, int>> unanswered = batch;
    ChildProcess::Options options;
    options.input = input;
    options.memoryLimit = kMemoryLimit;
    options.onOutputLine = [&](std::string_view line) {
        const std::vector<std::string_view> parts = fields(line);
        if (parts.size() < 3)
            return;
        Image image{number(parts[1]), number(parts[2]), {}};
        const auto it = std::find(unanswered.begin(), unanswered.end(), std::make_pair(image.page, image.width));
        if (it == unanswered.end())
            return;
        unanswered.erase(it);
        if (parts[0] == "done" && parts.size() == 4)
            image.file = std::string(parts[3]);
        m_onImage(image);
        if (!image.file.empty())
            ::unlink(image.file.c_str());
    };
    if (m_folder.empty()) {
        for (const auto& [page, width] : batch)
            m_onImage(Image{page, width, {}});
        return;
    }
    SiblingProgram::run(programPath(), {L"pages", m_pdf, m_folder}, &m_slot, options);
    // Whatever the child did not answer (it failed, or a page took it down) is a placeholder,
    // unless the batch was ended because nobody wants it any more.
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stop || m_dropCurrent)
            return;
    }
    for (const auto& [page, width] : unanswered)
        m_onImage(Image{page, width, {}});
}

PageRenderClient::Info PageRenderClient::info(const std::wstring& pdf, ProcessSlot* slot)
{
    Info info;
    ChildProcess::Options options;
    options.memoryLimit = kMemoryLimit;
    options.onOutputLine = [&info](std::string_view line) {
        const std::vector<std::string_view> parts = fields(line);
        if (parts.size() == 2 && parts[0] == "pages") {
            info.pageCount = std::max(0, number(parts[1]));
        } else if (parts.size() == 3 && parts[0] == "label") {
            const int page = number(parts[1]);
            if (page >= 1 && page <= info.pageCount)
                info.labels[page] = std::string(parts[2]);
        }
    };
    const ChildProcess::Result result = SiblingProgram::run(programPath(), {L"info", pdf}, slot, options);
    info.ok = result.exitCode == 0;
    if (!info.ok)
        info.labels.clear();
    return info;
}

} // namespace Converter
