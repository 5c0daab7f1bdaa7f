// Entries of the project's own rules run over a seeded profile once for every fault at every
// call a fault-free run makes: no crash, every keepsake whole (unless the fault itself took it),
// and the files and bytes the entries report exactly those they removed. Discord's, Spotify's
// and Steam's: wildcard folders, an exclusion, both Program Files and two entries on one folder.
#include <fstream>
#include <iterator>

#include "cleaners/entry_run.h"
#include "tests/cleaners/app_junk_table.h"
#include "tests/cleaners/rules_harness.h"
#include "tests/reliability/sweep_harness.h"

namespace reliability {
namespace {

using testing_cleaners::AppPlace;

struct Totals {
  std::int64_t files = 0;
  std::int64_t bytes = 0;
};

bool Swept(std::string_view app) {
  return app.starts_with("Discord") || app.starts_with("Spotify") || app.starts_with("Steam");
}

cleaners::RuleFile OwnRules() {
  std::ifstream in(std::string(DUSTORIX_SOURCE_DIR) + "/data/cleaners/dustorix.ini",
                   std::ios::binary);
  cleaners::RuleFile rules = cleaners::ParseRuleFile(
      std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
      "dustorix.ini");
  std::erase_if(rules.entries, [](const cleaners::Entry& entry) { return !Swept(entry.name); });
  return rules;
}

// Seeds the profile with every application's junk and keepsakes; the keepsakes' folded paths.
std::vector<std::string> Seed(SimSystem& sim) {
  testing_cleaners::SeedWindows(sim);
  const cleaners::Variables variables(sim);
  std::vector<std::string> kept;
  std::size_t size = 1;
  for (const AppPlace& place : testing_cleaners::kAppPlaces) {
    if (!Swept(place.app)) continue;
    const std::string path = variables.Expand(place.path).front().text;
    if (place.kind == AppPlace::kJunkFolder) {
      sim.AddFile(path + "\\data_0", std::string(size++, 'j'));
      sim.AddFile(path + "\\f_1\\index", std::string(size++, 'j'));
    } else {
      sim.AddFile(path, std::string(size++, 'k'));
    }
    if (place.kind == AppPlace::kKept) kept.push_back(platform::sim::FoldName(path));
  }
  return kept;
}

Totals RunAll(platform::System& system, const cleaners::RuleFile& rules) {
  testing_clean::TestRun test(system);
  const cleaners::Places places(system);
  Totals totals;
  for (const cleaners::Entry& entry : rules.entries) {
    const cleaners::EntryOutcome outcome = cleaners::RunEntry(entry, places, test.run);
    totals.files += outcome.files;
    totals.bytes += outcome.bytes;
  }
  EXPECT_EQ(test.state.freedBytes, totals.bytes);
  return totals;
}

TEST(RulesFaultSweep, EveryFaultLeavesTheKeepsakesAndCountsWhatWent) {
  const cleaners::RuleFile rules = OwnRules();
  ASSERT_EQ(rules.entries.size(), 4u);
  SimSystem clean;
  Seed(clean);
  clean.ResetCounters();
  RunAll(clean, rules);
  const std::vector<Injection> injections = EveryInjection(CallsOf(clean));
  ASSERT_GT(injections.size(), 100u);
  for (const Injection& injection : injections) {
    SCOPED_TRACE(Describe(injection));
    SimSystem sim;
    const std::vector<std::string> kept = Seed(sim);
    const Snapshot before = TakeSnapshot(sim);
    platform::sim::FaultInjector faults(sim);
    faults.FailNthCall(injection.op, injection.n, injection.fault);
    const Totals totals = RunAll(faults, rules);
    const Snapshot after = TakeSnapshot(sim);
    std::set<std::string> vanished(faults.VanishedPaths().begin(), faults.VanishedPaths().end());
    for (const std::string& path : kept) {
      EXPECT_TRUE(after.Has(path) || vanished.count(path)) << path;
    }
    Totals gone;
    for (const auto& [path, size] : before.files) {
      if (after.Has(path) || vanished.count(path)) continue;
      ++gone.files;
      gone.bytes += static_cast<std::int64_t>(size);
    }
    EXPECT_EQ(totals.files, gone.files);
    EXPECT_EQ(totals.bytes, gone.bytes);
  }
}

}  // namespace
}  // namespace reliability
