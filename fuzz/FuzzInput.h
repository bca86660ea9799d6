#pragma once
// Cuts a fuzzer's bytes into the pieces a target needs.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_offset >= m_size; }
    std::uint8_t byte() { return empty() ? 0 : m_data[m_offset++]; }
    int integer()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | byte();
        return static_cast<int>(value);
    }
    // The bytes up to the next NUL (or the end), without it.
    std::string text()
    {
        std::string out;
        while (!empty()) {
            const char c = static_cast<char>(m_data[m_offset++]);
            if (c == '\0')
                break;
            out += c;
        }
        return out;
    }
    std::string rest()
    {
        std::string out(reinterpret_cast<const char*>(m_data) + m_offset, m_size - std::min(m_offset, m_size));
        m_offset = m_size;
        return out;
    }
    std::vector<std::string> texts()
    {
        std::vector<std::string> out;
        while (!empty())
            out.push_back(text());
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

// A failed property: abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            __builtin_printf("check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap(); \
        } \
    } while (0)
