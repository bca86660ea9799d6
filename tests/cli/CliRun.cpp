#include "CliRun.h"

#include "core/converter/ProcessSlot.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

CliRun runProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::filesystem::path& folder, Converter::ChildProcess::Options options)
{
    Converter::ProcessSlot slot;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!done.wait_for(lock, std::chrono::minutes(2), [&] { return finished; }))
            slot.close();
    });
    options.captureOutput = true;
    options.workingDirectory = folder.string();
    const auto result = Converter::ChildProcess::run(program, args, &slot, options);
    {
        std::lock_guard lock(mutex);
        finished = true;
    }
    done.notify_one();
    watchdog.join();
    return {result.exitCode, result.signal, result.output, result.errorTail};
}
