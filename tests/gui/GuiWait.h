#pragma once
// How GUI tests wait: events are processed until the condition holds or a generous limit has
// passed (QTest::qWaitFor), never a fixed sleep for an outcome.

#include <QTest>

#include <functional>

namespace GuiWait {

inline bool until(const std::function<bool()>& done, int limitMs = 10000)
{
    return QTest::qWaitFor(done, limitMs);
}

// Lets posted work and timers run for a while: for checks that something did not happen.
inline void events(int ms)
{
    QTest::qWait(ms);
}

} // namespace GuiWait
