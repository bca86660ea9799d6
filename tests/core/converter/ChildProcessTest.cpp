// Starting, feeding, reading and ending child processes; sh stands in for a chatty child.

#include "core/converter/ChildProcess.h"
#include "core/converter/ProcessSlot.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

using Converter::ChildProcess;
using Converter::ProcessSlot;

namespace {

ChildProcess::Result shell(const std::string& script, std::vector<std::string> args = {},
                           ChildProcess::Options options = {}, ProcessSlot* slot = nullptr)
{
    args.insert(args.begin(), {"-c", script, "sh"});
    return ChildProcess::run("/bin/sh", args, slot, options);
}

} // namespace

TEST(ChildProcess, EachArgumentArrivesWholeWithoutAShell)
{
    ChildProcess::Options options;
    options.captureOutput = true;
    const auto result = shell("printf '[%s]' \"$@\"", {"a b", "\"quoted\"", "$HOME", "it's", ""}, options);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "[a b][\"quoted\"][$HOME][it's][]");
}

TEST(ChildProcess, ReadsEverythingSoAChattyChildNeverStalls)
{
    // Far more than a pipe holds, on both streams.
    ChildProcess::Options options;
    options.outputLimit = 1000;
    options.captureOutput = true;
    const auto result = shell("head -c 3000000 /dev/zero | tr '\\0' o; head -c 3000000 /dev/zero | tr '\\0' e >&2; echo tail-end >&2; exit 3",
                              {}, options);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, std::string(1000, 'o'));
    EXPECT_EQ(result.errorTail.size(), ChildProcess::kErrorTailLimit);
    EXPECT_EQ(result.errorTail.substr(result.errorTail.size() - 9), "tail-end\n");
}

TEST(ChildProcess, DeliversLinesAsTheyComeAndFeedsStandardInput)
{
    std::vector<std::string> lines;
    ChildProcess::Options options;
    options.input = "first line has spaces \nsecond\n";
    options.onOutputLine = [&](std::string_view line) { lines.emplace_back(line); };
    const auto result = shell("while IFS= read -r l; do echo \"got:$l\"; done; printf 'no newline'", {}, options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"got:first line has spaces ", "got:second", "no newline"}));

    // A child that never reads its input does not hurt us.
    options.input = std::string(4 << 20, 'x');
    EXPECT_EQ(shell("exit 0", {}, options).exitCode, 0);
}

TEST(ChildProcess, ConcurrentChildrenKeepTheirOutputApart)
{
    std::vector<std::string> outputs(6);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        threads.emplace_back([&, i] {
            ChildProcess::Options options;
            options.captureOutput = true;
            options.mergeErrorIntoOutput = true;
            outputs[i] = shell("for n in 1 2 3 4 5; do echo \"$1\"; echo \"$1\" >&2; done", {std::to_string(i)}, options).output;
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::string expected;
        for (int n = 0; n < 10; ++n)
            expected += std::to_string(i) + "\n";
        EXPECT_EQ(outputs[i], expected);
    }
}

TEST(ChildProcess, AProgramThatCannotStartIsReported)
{
    ProcessSlot slot;
    const auto result = ChildProcess::run("/nonexistent/qpdf", {}, &slot, {});
    EXPECT_FALSE(result.started);
    EXPECT_NE(result.startError, 0);
    EXPECT_EQ(slot.current(), 0);
}

TEST(ProcessSlot, NamesTheChildOnlyWhileItRunsAndEndsIt)
{
    ProcessSlot slot;
    ChildProcess::Result result;
    std::thread runner([&] { result = shell("exec sleep 30", {}, {}, &slot); });
    while (slot.current() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(slot.terminate());
    runner.join();
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.signal, SIGKILL);
    EXPECT_EQ(result.exitCode, -1);
    // Reaped: the slot is empty and ending "it" again signals nobody.
    EXPECT_EQ(slot.current(), 0);
    EXPECT_FALSE(slot.terminate());

    shell("exit 0", {}, {}, &slot);
    EXPECT_EQ(slot.current(), 0);
}

TEST(ProcessSlot, AClosedSlotEndsEveryLaterChildAtOnce)
{
    ProcessSlot slot;
    slot.close();
    EXPECT_TRUE(slot.closed());
    // A job that would start run after run (a split) gets each one ended as it starts.
    for (int i = 0; i < 2; ++i) {
        const auto result = shell("exec sleep 30", {}, {}, &slot);
        EXPECT_TRUE(result.started);
        EXPECT_EQ(result.signal, SIGKILL);
    }
}

TEST(ChildProcess, NoQueuedLineReachesTheCallerOnceTheSlotIsClosed)
{
    // The child has written all its lines before the first is handled; the handler closes
    // the slot (as a signal does) on the first one. Nothing after it may keep the caller busy.
    ProcessSlot slot;
    std::vector<std::string> lines;
    ChildProcess::Options options;
    options.onOutputLine = [&](std::string_view line) {
        lines.emplace_back(line);
        slot.close();
    };
    shell("i=0; while [ $i -lt 2000 ]; do echo line$i; i=$((i+1)); done", {}, options, &slot);
    EXPECT_EQ(lines, std::vector<std::string>{"line0"});
}

TEST(ChildProcess, AMemoryLimitBindsTheChildOnly)
{
    ChildProcess::Options options;
    options.captureOutput = true;
    options.memoryLimit = std::size_t(256) << 20;
    // Address space in KiB as the child sees its limit.
    const auto limited = shell("ulimit -v", {}, options);
    EXPECT_EQ(limited.output, std::to_string(256 * 1024) + "\n");
    options.memoryLimit = 0;
    EXPECT_NE(shell("ulimit -v", {}, options).output, limited.output);
}

TEST(ChildProcess, TheChildGetsTheGivenVariablesInPlaceOfOursAndTheRestOfOurs)
{
    ::setenv("KORVEX_TEST_A", "ours", 1);
    ::setenv("KORVEX_TEST_AB", "longer name", 1);
    ::unsetenv("KORVEX_TEST_C");
    ChildProcess::Options options;
    options.captureOutput = true;
    options.environment = {"KORVEX_TEST_A=given", "KORVEX_TEST_C=new"};
    const auto result = shell("printf '%s|%s|%s|%s' \"$KORVEX_TEST_A\" \"$KORVEX_TEST_AB\" \"$KORVEX_TEST_C\" "
                              "\"$(env | grep -c '^KORVEX_TEST_A=')\"",
                              {}, options);
    EXPECT_EQ(result.output, "given|longer name|new|1");
    // Ours stay as they were.
    EXPECT_STREQ(std::getenv("KORVEX_TEST_A"), "ours");
    EXPECT_EQ(std::getenv("KORVEX_TEST_C"), nullptr);
    ::unsetenv("KORVEX_TEST_A");
    ::unsetenv("KORVEX_TEST_AB");
}
