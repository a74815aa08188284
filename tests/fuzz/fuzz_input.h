#pragma once
// Reading typed values off a fuzzer's input, shorter inputs giving zeros.
#include <GL/gl.h>

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

// A texture side: mostly one the generator takes quickly, now and then any value, to reach the
// refused sizes and the limit.
inline int takeTextureSide(const std::uint8_t*& data, std::size_t& size) {
    int side = takeInt(data, size);
    if ((side & 0x100000) == 0) side %= 300;
    return side;
}

// A pixel format: the two the generator fills, two it leaves transparent, and two invalid ones.
inline int takeTextureFormat(const std::uint8_t*& data, std::size_t& size) {
    const int formats[] = {GL_RGBA, GL_LUMINANCE_ALPHA, GL_RGB, GL_ALPHA, 0, -1};
    return formats[static_cast<unsigned>(takeInt(data, size)) % 6];
}

// Generation costs grow with the pixels. Sizes the generator accepts are kept to at most
// FUZZ_PIXELS (the other side shortened), so that a run of the dearest type (fog, smoke) stays near a tenth of a
// millisecond; the large accepted sizes up to `limit` are the unit tests' business. Refused sizes, negative or past the
// limit, stay as they are: refusing costs nothing.
constexpr long long FUZZ_PIXELS = 64;
inline void keepSmall(int& width, int& height, long long limit) {
    const long long pixels = static_cast<long long>(width) * height;
    if (width <= 0 || height < 0 || pixels <= FUZZ_PIXELS || pixels > limit) return;
    height = static_cast<int>(FUZZ_PIXELS / width);
}
