#include "core/app/Glossary.h"

#include <atomic>

namespace Glossary {

namespace {
std::atomic<int> g_currentLanguage{CHINESE};
}

void setCurrentLanguage(int language)
{
    g_currentLanguage.store(language, std::memory_order_relaxed);
}

int currentLanguage()
{
    return g_currentLanguage.load(std::memory_order_relaxed);
}

} // namespace Glossary
