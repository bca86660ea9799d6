#pragma once
// The status text of a job's progress call in the current language. Apart from the row's
// callback, so that a program without rows (the command line) links none of what rows need.

#include <string>

std::wstring progressText(int type, int current, int total);
