// Every committed seed and every input that once broke a target, run through the targets as a
// plain test: a fixed crash stays fixed without a fuzzer at hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/fuzz_check.h"

namespace fuzz {
namespace {

struct Target {
  const char* name;
  int (*run)(const std::uint8_t* data, std::size_t size);
};

const Target kTargets[] = {
    {"list_file", ListFile},
    {"advanced_option", AdvancedOption},
    {"which_lang", WhichLang},
    {"language_file", LanguageFile},
    {"settings_cycle", SettingsCycle},
    {"wildcard", Wildcard},
    {"utf", Utf},
    {"scan", Scan},
    {"rule_file", RuleFile},
};

class FuzzReplay : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, SeedsAndFormerCrashesKeepEveryProperty) {
  const Target& target = GetParam();
  int inputs = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path folder =
        std::filesystem::path(DUSTORIX_SOURCE_DIR) / "tests" / "fuzz" / kind / target.name;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      if (!file.is_regular_file()) continue;
      std::ifstream in(file.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
      SCOPED_TRACE(file.path().string());
      EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 0) << "no seed for " << target.name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace fuzz
