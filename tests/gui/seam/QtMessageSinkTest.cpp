#include "gui/seam/QtMessageSink.h"
#include "core/message/WindowMessages.h"
#include "gui/GuiWait.h"
#include "gui/seam/SeamWindow.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct Counted : MessagePayload {
    explicit Counted(std::atomic<int>& alive) : alive(alive) { ++alive; }
    ~Counted() override { --alive; }
    std::atomic<int>& alive;
};

class Receiver : public QObject, public SeamWindow {
public:
    Receiver() : SeamWindow(this) {}
    std::intptr_t handleSeamMessage(int message, std::intptr_t wParam,
                                    std::unique_ptr<MessagePayload> payload) override
    {
        received.push_back({message, wParam});
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
        return wParam * 2;
    }
    bool event(QEvent* event) override { return dispatchSeamEvent(event) || QObject::event(event); }
    std::vector<std::pair<int, std::intptr_t>> received;
    bool onGuiThread = true;
};

void processUntil(const std::function<bool()>& done)
{
    GuiWait::until(done, 10000);
}

} // namespace

TEST(QtMessageSink, PostsArriveOnTheWindowThreadInOrder)
{
    QtMessageSink::instance();
    Receiver receiver;
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i)
            MessageSink::current().post(receiver.seamHandle(), WindowMessages::WM_UI_NOTIFY, i, nullptr);
    });
    worker.join();
    processUntil([&] { return receiver.received.size() == 50; });
    ASSERT_EQ(receiver.received.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(receiver.received[static_cast<std::size_t>(i)].second, i);
    EXPECT_TRUE(receiver.onGuiThread);
}

TEST(QtMessageSink, AWindowThatIsGoneFreesPayloadsAndAnswersZero)
{
    std::atomic<int> alive{0};
    WindowHandle handle;
    {
        Receiver receiver;
        handle = receiver.seamHandle();
        // Queued but not delivered before the window goes.
        EXPECT_TRUE(QtMessageSink::instance().post(handle, 1, 1, std::make_unique<Counted>(alive)));
    }
    EXPECT_EQ(alive.load(), 0);
    EXPECT_FALSE(QtMessageSink::instance().post(handle, 1, 1, std::make_unique<Counted>(alive)));
    EXPECT_EQ(alive.load(), 0);
    EXPECT_EQ(QtMessageSink::instance().send(handle, 1, 1, std::make_unique<Counted>(alive)), 0);
    EXPECT_EQ(alive.load(), 0);
}

TEST(QtMessageSink, SendWaitsForTheWindowsAnswer)
{
    Receiver receiver;
    EXPECT_EQ(QtMessageSink::instance().send(receiver.seamHandle(), 7, 21, nullptr), 42); // same thread
    std::atomic<std::intptr_t> answer{-1};
    std::thread worker([&] { answer = QtMessageSink::instance().send(receiver.seamHandle(), 7, 5, nullptr); });
    processUntil([&] { return answer.load() != -1; });
    worker.join();
    EXPECT_EQ(answer.load(), 10);
}
