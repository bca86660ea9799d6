#pragma once
// Starting a program that is to outlive this one (the updater): an argument vector, no shell,
// a session of its own, nothing waited for.

#include <string>
#include <vector>

namespace Platform {

// argv[0] is the program's path. True once the program runs: a path that cannot be executed
// is reported here, not later.
bool startDetached(const std::vector<std::string>& argv);

} // namespace Platform
