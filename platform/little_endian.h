// Numbers as Windows stores them in files and registry values: little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

// The `width` bytes at `at` as an unsigned number; the caller checks that they are there.
inline std::uint64_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace platform
