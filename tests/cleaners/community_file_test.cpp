// The whole community rule file, read from beside the repository (test data, never part of the
// project): every entry read, every key either read or skipped with its reason, and what the
// guards refuse on a usual machine. Skipped with a message when the file is not there.
#include <fstream>
#include <iterator>
#include <map>

#include "cleaners/catalog.h"
#include "tests/cleaners/rules_harness.h"
#include "tests/platform/contract_world.h"

namespace testing_cleaners {
namespace {

using cleaners::Issue;

const std::string kCommunityFile =
    std::string(DUSTORIX_SOURCE_DIR) + "/../shared/winapp2/Winapp2.ini";

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
    line.remove_prefix(1);
  return line;
}

TEST_F(RulesTest, TheCommunityFileIsReadWithEveryEntryAndKeyAccountedFor) {
  std::ifstream in(kCommunityFile, std::ios::binary);
  if (!in) GTEST_SKIP() << kCommunityFile << " is not there: nothing to account for";
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  // Counted line by line, apart from the parser: sections, and key lines by their name.
  std::size_t sections = 0;
  std::map<std::string, std::size_t> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    const std::string_view line = Trimmed(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      ++sections;
    } else if (sections > 0) {
      std::string name(line.substr(0, line.find('=')));
      while (!name.empty() && name.back() >= '0' && name.back() <= '9')
        name.pop_back();
      ++lines[name];
    }
  }

  cleaners::Catalog catalog;
  catalog.Add(cleaners::ParseRuleFile(bytes, "Winapp2.ini"));
  EXPECT_EQ(catalog.Entries().size(), sections);
  EXPECT_EQ(sections, 4067u);
  EXPECT_TRUE(catalog.Duplicates().empty());
  EXPECT_TRUE(catalog.Outside().empty());

  std::map<std::string, std::size_t> taken;  // keys read and skipped, by name
  std::map<Issue, std::size_t> skipped;
  std::size_t read = 0;
  const cleaners::Places places(sim);
  std::map<Issue, std::size_t> refused;
  for (const cleaners::Entry& entry : catalog.Entries()) {
    read += entry.keysRead;
    for (const cleaners::KeyNote& note : entry.skipped) {
      ++skipped[note.issue];
      std::string name = note.key;
      while (!name.empty() && name.back() >= '0' && name.back() <= '9')
        name.pop_back();
      ++taken[name];
    }
    taken["FileKey"] += entry.fileKeys.size();
    taken["RegKey"] += entry.regKeys.size();
    taken["ExcludeKey"] += entry.excludeKeys.size();
    for (const cleaners::KeyNote& note : cleaners::Refusals(entry, places))
      ++refused[note.issue];
  }
  std::size_t total = read;
  for (const auto& [issue, count] : skipped)
    total += count;
  std::size_t keyLines = 0;
  for (const auto& [name, count] : lines)
    keyLines += count;
  EXPECT_EQ(total, keyLines);
  for (const char* name : {"FileKey", "RegKey", "ExcludeKey"})
    EXPECT_EQ(taken[name], lines[name]) << name;
  EXPECT_EQ(lines["FileKey"], 14118u);
  EXPECT_EQ(lines["RegKey"], 3677u);
  EXPECT_EQ(lines["ExcludeKey"], 86u);
  // Every key name the file uses is known, every line is a key.
  EXPECT_EQ(skipped[Issue::kUnknownKey], 0u);
  EXPECT_EQ(skipped[Issue::kNotAKey], 0u);
  EXPECT_EQ(skipped[Issue::kNoBar], 1u);

  std::string figures = std::to_string(catalog.Entries().size()) + " entries, " +
                        std::to_string(keyLines) + " keys: " + std::to_string(read) + " read";
  for (const auto& [issue, count] : skipped)
    figures += ", " + std::to_string(count) + " " + std::string(cleaners::IssueId(issue));
  figures += "; refused here:";
  for (const auto& [issue, count] : refused)
    figures += " " + std::to_string(count) + " " + std::string(cleaners::IssueId(issue));
  RecordProperty("accounting", figures);
  std::printf("%s\n", figures.c_str());
}

}  // namespace
}  // namespace testing_cleaners

namespace testing_world {
// The rule files come from the sources here; the Windows tests hand them to their own sandbox.
INSTANTIATE_TEST_SUITE_P(Sim, RulesContract, ::testing::Values(WorldFactory(&MakeSimWorld)));
}  // namespace testing_world
