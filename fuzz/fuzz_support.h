// Shared by the fuzz targets: a reader that turns the fuzzer's bytes into
// values (zeros once the bytes run out) and a check that aborts loudly, so
// libFuzzer keeps the input that broke a rule.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, ...)                                                   \
    do {                                                                        \
        if (!(cond)) {                                                          \
            std::fprintf(stderr, "%s:%d: broken rule: %s\n  ", __FILE__,       \
                         __LINE__, #cond);                                      \
            std::fprintf(stderr, __VA_ARGS__);                                  \
            std::fprintf(stderr, "\n");                                         \
            std::abort();                                                       \
        }                                                                       \
    } while (0)

struct ByteReader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    bool empty() const { return pos >= size; }
    uint8_t u8() { return pos < size ? data[pos++] : 0; }
    uint16_t u16() {
        uint16_t lo = u8();
        return uint16_t(lo | (uint16_t(u8()) << 8));
    }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32() {
        uint32_t lo = u16();
        return lo | (uint32_t(u16()) << 16);
    }
    int32_t i32() { return int32_t(u32()); }
};
