#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Fuzzer bytes as the player's text: pairs of bytes, little-endian, are UTF-16 code units (a lone last
// byte is dropped), whatever the width of wchar_t where the target runs.
inline std::wstring wideFrom(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    }
    return text;
}

// A finding stops the target with a message, as a sanitizer finding does.
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            __builtin_printf("check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap();                                                               \
        }                                                                                   \
    } while (0)
