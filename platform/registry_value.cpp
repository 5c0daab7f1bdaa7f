#include "platform/little_endian.h"
#include "platform/system.h"
#include "platform/utf.h"

namespace platform {

std::optional<std::string> RegistryValue::Text() const {
  if (type != reg::kString && type != reg::kExpandString) return std::nullopt;
  std::u16string units;
  // An odd final byte is half a code unit: the registry does not check what was stored.
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                            (static_cast<unsigned char>(data[i + 1]) << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return Utf16ToUtf8(units);
}

std::optional<std::uint32_t> RegistryValue::Dword() const {
  if (type != reg::kDword || data.size() != 4) return std::nullopt;
  return static_cast<std::uint32_t>(LittleEndian(data, 0, 4));
}

RegistryValue RegistryValue::FromText(std::string_view utf8, std::uint32_t type) {
  RegistryValue value;
  value.type = type;
  for (char16_t unit : Utf8ToUtf16(utf8).value_or(std::u16string())) {
    value.data.push_back(static_cast<char>(unit & 0xFF));
    value.data.push_back(static_cast<char>(unit >> 8));
  }
  value.data.append(2, '\0');  // stored with its terminator, as Windows stores text
  return value;
}

RegistryValue RegistryValue::FromDword(std::uint32_t number) {
  RegistryValue value;
  value.type = reg::kDword;
  for (int i = 0; i < 4; ++i)
    value.data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
  return value;
}

}  // namespace platform
