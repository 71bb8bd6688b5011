#pragma once

#include <cstdint>

// Little-endian integers at byte offsets, independent of the host's byte order.
inline std::int32_t GetInt32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                     std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
}

inline void PutInt32(std::uint8_t* p, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline std::int16_t GetInt16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(std::uint16_t{p[0]} | std::uint16_t(p[1] << 8));
}

inline void PutInt16(std::uint8_t* p, std::int16_t value) {
    auto v = static_cast<std::uint16_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
