// A record of the recycle bin ($I…) as Windows writes it: version, the item's size, the time it
// was deleted (a FILETIME), then the original path (version 2: its length in characters first).
#pragma once

#include <cstdint>
#include <string>

namespace testing_world {

inline std::string BinRecord(std::uint64_t deletedAt, std::uint64_t size,
                             std::uint64_t version = 2) {
  std::string record;
  for (const std::uint64_t field : {version, size, deletedAt}) {
    for (int i = 0; i < 8; ++i)
      record += static_cast<char>((field >> (8 * i)) & 0xFF);
  }
  const std::u16string path = u"C:\\Users\\me\\old.txt";
  record += std::string{static_cast<char>(path.size() + 1), 0, 0, 0};
  for (const char16_t c : path)
    record += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return record + std::string(2, '\0');
}

}  // namespace testing_world
