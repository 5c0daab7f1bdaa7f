// Rule entries run against the sim and, under Wine, against the real file system of the
// sandbox's profile: the project's own entries over a profile seeded with every application's
// junk and keepsakes, and chosen community entries over seeded application folders, the tree
// compared with what the semantics say.
#include <fstream>
#include <iterator>

#include "cleaners/entry_run.h"
#include "platform/wildcard.h"
#include "tests/clean/test_run.h"
#include "tests/cleaners/app_junk_table.h"
#include "tests/platform/contract_world.h"

namespace testing_world {
namespace {

using cleaners::Entry;
using testing_cleaners::AppPlace;

}  // namespace

std::optional<std::string> TestFile(ContractWorld& world, std::string_view beside,
                                    [[maybe_unused]] std::string_view inSources) {
  const std::string folder = world.TestFilesFolder();
  if (!folder.empty()) {
    return world.System()
        .ReadFile(folder + "\\" + std::string(beside), platform::FileAccess::kRead)
        .bytes;
  }
#ifdef DUSTORIX_SOURCE_DIR
  std::ifstream in(std::string(DUSTORIX_SOURCE_DIR) + "/" + std::string(inSources),
                   std::ios::binary);
  if (in) return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
#endif
  return std::nullopt;
}

namespace {

std::string Expanded(const cleaners::Places& places, std::string_view text) {
  const std::vector<cleaners::Expansion> expansions = places.Vars().Expand(text);
  return expansions.empty() ? std::string() : expansions.front().text;
}

// Removes what a test seeded below a system folder: the path, then each folder above it that
// is left empty, up to the first protected one.
void Unseed(ContractWorld& world, const cleaners::Places& places,
            const cleaners::Expansion& place) {
  world.RemoveTree(place.text);
  for (std::string folder = place.text; folder.size() > place.baseLength;) {
    folder.erase(folder.rfind('\\'));
    if (places.IsProtected(folder) || !world.System().RemoveFolder(folder)) break;
  }
}

TEST_P(RulesContract, EveryProjectEntryTakesItsApplicationsJunkAndKeepsTheKeepsakes) {
  const std::optional<std::string> rules =
      TestFile(World(), "data\\cleaners\\dustorix.ini", "data/cleaners/dustorix.ini");
  ASSERT_TRUE(rules);
  const cleaners::RuleFile file = cleaners::ParseRuleFile(*rules, "dustorix.ini");
  const cleaners::Places places(Sys());
  std::vector<cleaners::Expansion> seeded;
  for (const AppPlace& place : testing_cleaners::kAppPlaces) {
    const std::vector<cleaners::Expansion> expansions = places.Vars().Expand(place.path);
    ASSERT_FALSE(expansions.empty()) << place.path;
    const std::string& path = expansions.front().text;
    if (place.kind == AppPlace::kJunkFolder) {
      World().MakeFile(path + "\\data_0", "junk");
      World().MakeFile(path + "\\f_000001\\index", "junk");
    } else {
      World().MakeFile(path, place.kind == AppPlace::kKept ? "keep " + path : "junk");
    }
    seeded.push_back(expansions.front());
  }
  World().StartProgram("Spotify.exe");
  testing_clean::TestRun test(Sys());
  for (const Entry& entry : file.entries) {
    const cleaners::EntryOutcome outcome = cleaners::RunEntry(entry, places, test.run);
    EXPECT_TRUE(outcome.refused.empty()) << entry.name << ": " << outcome.refused[0].key;
    EXPECT_EQ(outcome.runningProgram, entry.name == "Spotify" ? "Spotify.exe" : "") << entry.name;
  }
  World().StopPrograms();
  for (const AppPlace& place : testing_cleaners::kAppPlaces) {
    const std::string path = Expanded(places, place.path);
    if (place.kind == AppPlace::kKept) {
      EXPECT_EQ(World().ContentOf(path), "keep " + path);
    } else if (place.app == "Spotify") {
      EXPECT_TRUE(World().Exists(path)) << path;  // left alone while it runs
    } else {
      EXPECT_FALSE(World().Exists(path)) << path;
    }
  }
  for (const cleaners::Expansion& place : seeded)
    Unseed(World(), places, place);
}

}  // namespace
}  // namespace testing_world
