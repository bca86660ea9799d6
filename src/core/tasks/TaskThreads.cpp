#include "core/tasks/TaskThreads.h"

TaskThreads::~TaskThreads()
{
    joinAll();
}

void TaskThreads::start(std::function<void()> work)
{
    m_threads.start(std::move(work));
}

void TaskThreads::joinAll()
{
    m_threads.joinAll();
}

int TaskThreads::running() const
{
    return m_threads.running();
}
