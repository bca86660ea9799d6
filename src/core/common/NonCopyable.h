#pragma once
// A base for classes that own what must exist once (a handle, a folder, a thread, a lock):
// copying one would release or reuse it twice.

class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};
