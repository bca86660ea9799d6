#pragma once
// Ending a run's child through its process slot, as the window's stop does.

#include "core/converter/ProcessSlot.h"

#include <functional>

// Runs job on a thread and ends the first child it parks in the slot. True when a child was
// ended; false when the job finished without one (or none came within a minute).
bool runAndEndItsChild(Converter::ProcessSlot& slot, const std::function<void()>& job);
