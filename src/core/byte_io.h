#pragma once

// Little-endian field access shared by the alarm table and the settings file. Fields are
// assembled byte by byte so the layout does not depend on the host's endianness or padding.

#include <cstddef>
#include <cstdint>
#include <string>

namespace core {
namespace byte_io {

inline std::uint32_t readUint32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void writeUint32(std::uint8_t* p, std::uint32_t u) {
    p[0] = static_cast<std::uint8_t>(u & 0xFFu);
    p[1] = static_cast<std::uint8_t>((u >> 8) & 0xFFu);
    p[2] = static_cast<std::uint8_t>((u >> 16) & 0xFFu);
    p[3] = static_cast<std::uint8_t>((u >> 24) & 0xFFu);
}

inline std::int32_t readInt32(const std::uint8_t* p) {
    const std::uint32_t u = readUint32(p);
    // Two's complement reinterpretation without relying on implementation-defined narrowing.
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u) : -static_cast<std::int32_t>(~u) - 1;
}

inline void writeInt32(std::uint8_t* p, std::int32_t value) {
    writeUint32(p, static_cast<std::uint32_t>(value));
}

// Text of a fixed field: up to the first zero, or the whole field when it has none.
inline std::string fieldText(const std::uint8_t* field, std::size_t fieldSize) {
    std::size_t length = 0;
    while (length < fieldSize && field[length] != 0) {
        ++length;
    }
    return std::string(reinterpret_cast<const char*>(field), length);
}

// Copies already-cut text into a zeroed field; the caller leaves room for the terminator.
inline void putText(std::uint8_t* field, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        field[i] = static_cast<std::uint8_t>(static_cast<unsigned char>(text[i]));
    }
}

} // namespace byte_io
} // namespace core
