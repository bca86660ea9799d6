#pragma once
// Page images of one PDF, drawn by korvex-render on a thread of their own: requests queue up,
// each batch is one run of the child (under a memory limit), and each finished image is handed
// to the caller on that thread, then its file is removed. Newer requests replace older ones
// that have not been drawn yet, so scrolling far never leaves a long queue behind.

#include "core/converter/PageToolRunner.h"
#include "core/converter/ProcessSlot.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Converter {

class PageRenderClient {
public:
    struct Image {
        int page = 0;
        int width = 0;
        // A PNG file, removed once the callback returns; empty when the page could not be drawn.
        std::string file;
    };
    struct Info {
        bool ok = false;
        int pageCount = 0;
        // Pages whose label is not their number.
        std::map<int, std::string> labels;
    };

    // Far above what drawing one page of a real book takes; none in sanitizer builds.
    static constexpr std::size_t kMemoryLimit = PageToolRunner::kMemoryLimit == 0 ? 0 : std::size_t(1) << 30;
    // Pages per run of the child: a picker's screen in one or two runs, each opening the file once.
    static constexpr std::size_t kBatch = 16;

    // onImage runs on the client's thread, never after the destructor has returned.
    PageRenderClient(std::wstring pdf, std::function<void(const Image&)> onImage);
    ~PageRenderClient();
    PageRenderClient(const PageRenderClient&) = delete;
    PageRenderClient& operator=(const PageRenderClient&) = delete;

    // Adds one request (a page counts from 1); one already waiting is not asked twice.
    void request(int page, int width);
    // The waiting requests become these; the batch being drawn is ended when it holds none of them.
    void replace(const std::vector<std::pair<int, int>>& requests);
    // Drops every waiting request and ends the batch being drawn.
    void cancel();

    // True while a child draws (for tests: a removed owner ends it).
    bool drawing() const;
    pid_t childPid() const { return m_slot.current(); }

    // The page count and labels, from one short run of the child.
    static Info info(const std::wstring& pdf, ProcessSlot* slot = nullptr);
    static std::wstring programPath();

private:
    void work();
    void drawBatch(const std::vector<std::pair<int, int>>& batch);

    const std::wstring m_pdf;
    const std::function<void(const Image&)> m_onImage;
    std::wstring m_folder;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::pair<int, int>> m_waiting;
    std::vector<std::pair<int, int>> m_current;
    bool m_stop = false;
    bool m_dropCurrent = false;
    ProcessSlot m_slot;
    std::thread m_thread;
};

} // namespace Converter
