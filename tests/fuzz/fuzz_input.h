#pragma once
// Reading typed values off a fuzzer's input, shorter inputs giving zeros.
#include <cstddef>
#include <cstdint>
#include <cstring>

inline int takeInt(const std::uint8_t*& data, std::size_t& size) {
    std::int32_t v = 0;
    const std::size_t n = size < 4 ? size : 4;
    std::memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}
