#include "gui/seam/QtMessageSink.h"

#include "gui/seam/QueueHandOff.h"
#include "gui/seam/SeamEvent.h"
#include "gui/seam/SeamReceiver.h"

#include <QCoreApplication>
#include <QThread>

#include <future>

QtMessageSink& QtMessageSink::instance()
{
    static std::shared_ptr<QtMessageSink> sink = [] {
        auto created = std::shared_ptr<QtMessageSink>(new QtMessageSink, [](QtMessageSink*) {});
        MessageSink::setCurrent(created);
        return created;
    }();
    return *sink;
}

WindowHandle QtMessageSink::registerWindow(QObject* object, SeamReceiver* window)
{
    std::lock_guard lock(m_mutex);
    const WindowHandle handle = m_next++;
    m_windows[handle] = {object, window};
    return handle;
}

void QtMessageSink::unregisterWindow(WindowHandle handle)
{
    std::lock_guard lock(m_mutex);
    m_windows.erase(handle);
}

bool QtMessageSink::post(WindowHandle window, int message, std::intptr_t wParam,
                         std::unique_ptr<MessagePayload> payload)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_windows.find(window);
    if (it == m_windows.end() || !it->second.object)
        return false; // the payload goes with the unique_ptr
    // Qt drops events posted to an object that is deleted before delivery, freeing the payload.
    auto* event = new SeamEvent(message, wParam, std::move(payload));
    QueueHandOff::handOver(event);
    QCoreApplication::postEvent(it->second.object, event);
    return true;
}

std::intptr_t QtMessageSink::send(WindowHandle window, int message, std::intptr_t wParam,
                                  std::unique_ptr<MessagePayload> payload)
{
    SeamReceiver* target = nullptr;
    QObject* object = nullptr;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_windows.find(window);
        if (it == m_windows.end() || !it->second.object)
            return 0;
        target = it->second.window;
        object = it->second.object;
    }
    if (QThread::currentThread() == object->thread())
        return target->handleSeamMessage(message, wParam, std::move(payload));
    std::promise<std::intptr_t> answer;
    std::future<std::intptr_t> result = answer.get_future();
    // The event goes to the window object itself, so it is dropped with the window.
    auto* event = new SeamEvent(message, wParam, std::move(payload), &answer);
    QueueHandOff::handOver(event);
    QCoreApplication::postEvent(object, event);
    return result.get();
}
