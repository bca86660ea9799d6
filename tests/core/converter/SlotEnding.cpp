#include "SlotEnding.h"

#include <atomic>
#include <chrono>
#include <thread>

bool runAndEndItsChild(Converter::ProcessSlot& slot, const std::function<void()>& job)
{
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        job();
        finished = true;
    });
    bool ended = false;
    for (int i = 0; i < 6000 && !ended && !finished; ++i) {
        if (slot.current() != 0)
            ended = slot.terminate();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    worker.join();
    return ended;
}
