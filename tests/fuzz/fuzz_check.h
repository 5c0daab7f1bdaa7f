// What the fuzz targets share: a check that ends the process with a message (libFuzzer keeps
// the input; the replay test fails), and the split of one input into parts.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace fuzz {

// Parts separated by the byte 0x1F, which no file name and no line of a list holds in practice;
// missing parts are empty.
inline std::vector<std::string> SplitParts(const std::uint8_t* data, std::size_t size,
                                           std::size_t count) {
  std::vector<std::string> parts(count);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  for (std::size_t i = 0; i < count && start <= input.size(); ++i) {
    const std::size_t cut = i + 1 == count ? std::string_view::npos : input.find('\x1F', start);
    parts[i] = std::string(input.substr(start, cut - start));
    if (cut == std::string_view::npos) break;
    start = cut + 1;
  }
  return parts;
}

// The targets; each returns 0 and aborts on a broken property.
int ListFile(const std::uint8_t* data, std::size_t size);
int AdvancedOption(const std::uint8_t* data, std::size_t size);
int WhichLang(const std::uint8_t* data, std::size_t size);
int LanguageFile(const std::uint8_t* data, std::size_t size);
int SettingsCycle(const std::uint8_t* data, std::size_t size);
int Wildcard(const std::uint8_t* data, std::size_t size);
int Utf(const std::uint8_t* data, std::size_t size);
int Scan(const std::uint8_t* data, std::size_t size);
int RuleFile(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
