#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dravin::paradox {

// Little-endian words of Paradox files; the caller has checked the bounds.
inline std::uint16_t word(std::string_view b, std::size_t at) noexcept {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

inline std::uint32_t longWord(std::string_view b, std::size_t at) noexcept {
    return static_cast<std::uint32_t>(word(b, at)) | static_cast<std::uint32_t>(word(b, at + 2))
                                                         << 16;
}

inline unsigned byteAt(std::string_view b, std::size_t at) noexcept {
    return static_cast<unsigned char>(b[at]);
}

}  // namespace dravin::paradox
