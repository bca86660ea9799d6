// Tracked worker threads: every started work runs and is waited for, a closed set starts
// nothing, closing wakes a delayed wait, and each thread has a signal stack of its own.

#include "core/common/TrackedThreads.h"
#include "core/common/AlternateSignalStack.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

TEST(TrackedThreads, WaitsForEveryStartedWork)
{
    TrackedThreads threads;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> done{0};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(threads.start([&, released] {
            released.wait();
            ++done;
        }));
    EXPECT_EQ(threads.running(), 4);
    release.set_value();
    threads.waitForAll();
    EXPECT_EQ(done, 4);
    EXPECT_EQ(threads.running(), 0);
    EXPECT_TRUE(threads.start([&] { ++done; }));
    threads.joinAll();
    EXPECT_EQ(done, 5);
}

TEST(TrackedThreads, ClosedSetStartsNothingUntilOpened)
{
    TrackedThreads threads;
    std::atomic<int> done{0};
    threads.close();
    EXPECT_TRUE(threads.isClosed());
    EXPECT_FALSE(threads.start([&] { ++done; }));
    threads.open();
    EXPECT_FALSE(threads.isClosed());
    EXPECT_TRUE(threads.start([&] { ++done; }));
    threads.waitForAll();
    EXPECT_EQ(done, 1);
}

TEST(TrackedThreads, ClosingEndsADelayedWait)
{
    TrackedThreads threads;
    std::atomic<bool> closedFirst{false};
    std::promise<void> waiting;
    threads.start([&] {
        waiting.set_value();
        closedFirst = threads.waitUnlessClosed(std::chrono::hours(1));
    });
    waiting.get_future().wait();
    threads.close();
    threads.waitForAll();
    EXPECT_TRUE(closedFirst);
}

// Signal handlers of a thread that overflowed its stack can only run on a stack of their own.
TEST(TrackedThreads, EveryThreadRunsWithAnAlternateSignalStackOfItsOwn)
{
    std::atomic<bool> tracked{false};
    std::atomic<bool> started{false};
    TrackedThreads threads;
    threads.start([&] { tracked = AlternateSignalStack::threadHasOne(); });
    threads.waitForAll();
    AlternateSignalStack::start([&] { started = AlternateSignalStack::threadHasOne(); }).join();
    EXPECT_TRUE(tracked);
    EXPECT_TRUE(started);

    // A thread keeps a stack it already has (a sanitizer may give every thread one), and is
    // left as it was once its own goes.
    std::thread([] {
        const bool before = AlternateSignalStack::threadHasOne();
        {
            const AlternateSignalStack outer;
            EXPECT_NE(outer.installed(), before);
            const AlternateSignalStack inner;
            EXPECT_FALSE(inner.installed());
            EXPECT_TRUE(AlternateSignalStack::threadHasOne());
        }
        EXPECT_EQ(AlternateSignalStack::threadHasOne(), before);
    }).join();
}
