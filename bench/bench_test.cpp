// The benchmark's own parts: the seeded tree is the same for a seed and has the shape asked
// for, its count of review lines is what a scan lists, and the counting decorators count and
// forward faithfully.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

#include "bench/backend.h"
#include "bench/counting_system.h"
#include "bench/counting_ui.h"
#include "bench/tree.h"
#include "clean/scan.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/list_box.h"
#include "platform/ui/status_bar.h"
#include "platform/wildcard.h"
#include "settings/list_file.h"
#include "tests/clean/test_run.h"

namespace bench {
namespace {

namespace attr = platform::attr;
using Lines = std::vector<std::string>;

const Lines kJunk = {"*.tmp", "~*.tmp", "*.~*",  "*.$$$", "*.chk",
                     "*.gid", "*.fts",  "*.ftg", "*.dmp"};
const Lines kMoreJunk = {"*.bak", "*.old", "~$*", "thumbs.db"};
const Lines kExceptions = {"desktop.ini", ".gitkeep"};

TreeShape SmallShape(std::uint32_t seed) {
  TreeShape shape;
  shape.seed = seed;
  shape.folders = 120;
  shape.files = 6000;
  shape.maxDepth = 12;
  return shape;
}

bool SameTree(const Tree& a, const Tree& b) {
  if (a.folders.size() != b.folders.size() || a.files.size() != b.files.size()) return false;
  for (std::size_t i = 0; i < a.folders.size(); ++i) {
    const TreeFolder& x = a.folders[i];
    const TreeFolder& y = b.folders[i];
    if (x.parent != y.parent || x.name != y.name || x.attributes != y.attributes) return false;
  }
  for (std::size_t i = 0; i < a.files.size(); ++i) {
    const TreeFile& x = a.files[i];
    const TreeFile& y = b.files[i];
    if (x.folder != y.folder || x.name != y.name || x.size != y.size ||
        x.attributes != y.attributes) {
      return false;
    }
  }
  return true;
}

TEST(BenchTree, ASeedAlwaysMakesTheSameTreeAndAnotherSeedAnother) {
  const Tree first = MakeTree(SmallShape(7), kJunk, kMoreJunk, kExceptions);
  EXPECT_TRUE(SameTree(first, MakeTree(SmallShape(7), kJunk, kMoreJunk, kExceptions)));
  EXPECT_FALSE(SameTree(first, MakeTree(SmallShape(8), kJunk, kMoreJunk, kExceptions)));
}

TEST(BenchTree, HasTheShapeAskedForWithNamesWindowsAccepts) {
  const TreeShape shape = SmallShape(11);
  const Tree tree = MakeTree(shape, kJunk, kMoreJunk, kExceptions);
  ASSERT_EQ(tree.folders.size(), static_cast<std::size_t>(shape.folders + 1));
  ASSERT_EQ(tree.files.size(), static_cast<std::size_t>(shape.files));
  EXPECT_EQ(tree.Entries(), static_cast<std::size_t>(shape.folders + shape.files));

  int deepest = 0;
  std::set<std::string> names;  // folder index and name as Windows compares names
  const auto unique = [&](int folder, const std::string& name) {
    return names.insert(std::to_string(folder) + '\\' + platform::sim::FoldName(name)).second;
  };
  for (std::size_t i = 1; i < tree.folders.size(); ++i) {
    const TreeFolder& folder = tree.folders[i];
    ASSERT_GE(folder.parent, 0);
    ASSERT_LT(static_cast<std::size_t>(folder.parent), i);  // parents come first
    EXPECT_EQ(folder.depth, tree.folders[static_cast<std::size_t>(folder.parent)].depth + 1);
    deepest = std::max(deepest, folder.depth);
    EXPECT_TRUE(unique(folder.parent, folder.name)) << folder.name;
  }
  EXPECT_EQ(deepest, shape.maxDepth);
  for (const TreeFile& file : tree.files) {
    EXPECT_TRUE(unique(file.folder, file.name)) << file.name;
    const std::string stem = settings::LowerAsciiLetters(file.name.substr(0, file.name.find('.')));
    EXPECT_NE(stem, "nul");
    EXPECT_NE(stem, "con");
    EXPECT_NE(file.name.back(), ' ');
    EXPECT_NE(file.name.back(), '.');
  }
}

// 1 % of the files match a shipped pattern, 0.5 % one of the others, and no other name matches
// any; a few files are empty, hidden, read-only or system.
TEST(BenchTree, JunkAndAttributesComeInTheirShares) {
  const TreeShape shape = SmallShape(20240611);
  const Tree tree = MakeTree(shape, kJunk, kMoreJunk, kExceptions);
  std::vector<platform::WildcardPattern> junk(kJunk.begin(), kJunk.end());
  std::vector<platform::WildcardPattern> more(kMoreJunk.begin(), kMoreJunk.end());
  const auto any = [](const std::vector<platform::WildcardPattern>& patterns,
                      const std::string& name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const platform::WildcardPattern& p) { return p.Matches(name); });
  };
  int junkFiles = 0, moreFiles = 0, empty = 0, hidden = 0, readOnly = 0, system = 0;
  for (const TreeFile& file : tree.files) {
    junkFiles += any(junk, file.name);
    moreFiles += any(more, file.name) && !any(junk, file.name);
    empty += file.size == 0;
    hidden += (file.attributes & attr::kHidden) != 0;
    readOnly += (file.attributes & attr::kReadOnly) != 0;
    system += (file.attributes & attr::kSystem) != 0;
  }
  for (std::size_t i = 1; i < tree.folders.size(); ++i) {
    EXPECT_FALSE(any(junk, tree.folders[i].name) || any(more, tree.folders[i].name));
  }
  const double files = shape.files;
  EXPECT_NEAR(junkFiles / files, 0.010, 0.003);
  EXPECT_NEAR(moreFiles / files, 0.005, 0.002);
  EXPECT_NEAR(empty / files, 0.01, 0.004);
  EXPECT_NEAR(hidden / files, 0.04, 0.01);  // 3 % alone and 1 % with the system attribute
  EXPECT_NEAR(readOnly / files, 0.02, 0.006);
  EXPECT_NEAR(system / files, 0.01, 0.004);
}

class Stage : public ui::Form {
 public:
  explicit Stage(ui::Application& app) : ui::Form(app), review(this, {}) { Realize(); }
  ui::ListBox review;
};

// The benchmark refuses a run whose review list differs from this count, so it must be exact.
TEST(BenchTree, ExpectedReviewLinesAreWhatAScanLists) {
  std::unique_ptr<Backend> backend = MakeSimBackend();
  const Tree tree = MakeTree(SmallShape(3), kJunk, kMoreJunk, kExceptions);
  const std::string root = backend->Build(tree, "tree");
  ASSERT_EQ(root, "E:\\tree\\");
  const WalkCount floor = backend->BareWalk(root);
  EXPECT_EQ(floor.entries, tree.Entries());
  EXPECT_EQ(floor.folders, tree.folders.size());

  CountingSystem counting(backend->System());
  testing_clean::TestRun test(counting);
  const Lines all = [] {
    Lines lines = kJunk;
    lines.insert(lines.end(), kMoreJunk.begin(), kMoreJunk.end());
    return lines;
  }();
  for (const bool zeroBytePass : {false, true}) {
    for (const Lines* patterns : {&kJunk, &all}) {
      clean::RunSettings& settings = test.settings;
      settings.FileEndingList = *patterns;
      settings.ExceptionListLower = kExceptions;
      settings.AdvancedOptions[settings::kZeroByteFiles] = zeroBytePass;
      std::size_t found = 0;
      counting.ResetCounts();
      clean::Scanner scanner(test.run, settings, [&](const std::string&, std::uint64_t) {
        ++found;
        return false;
      });
      scanner.ScanFolder(root);
      EXPECT_EQ(found, ExpectedReviewLines(tree, *patterns, kExceptions, zeroBytePass));
      EXPECT_EQ(counting.Listings(), tree.folders.size());
      EXPECT_EQ(counting.LookUps(), 0u);
    }
  }
}

TEST(BenchCounting, TheSystemCountsListingsAndLookUpsAndForwardsEverything) {
  platform::sim::SimSystem sim;
  sim.AddDrive('E', platform::DriveType::kFixed, "Data");
  sim.AddFile("E:\\a\\b.txt", "bytes");
  sim.AddFolderLink("E:\\link", "E:\\a");
  CountingSystem counting(sim);

  EXPECT_TRUE(counting.WriteFile("E:\\a\\c.tmp", "new"));
  EXPECT_EQ(sim.Content("E:\\a\\c.tmp"), "new");
  EXPECT_EQ(counting.ReadFile("E:\\a\\b.txt", platform::FileAccess::kRead).bytes, "bytes");
  EXPECT_EQ(counting.GetDriveType("E:"), platform::DriveType::kFixed);
  ASSERT_EQ(counting.Drives().size(), 1u);
  EXPECT_EQ(counting.Drives()[0].label, "Data");
  ASSERT_TRUE(counting.LookUp("E:\\A\\B.TXT"));
  EXPECT_EQ(counting.LookUp("E:\\A\\B.TXT")->name, "b.txt");
  EXPECT_FALSE(counting.LookUp("E:\\missing"));
  EXPECT_TRUE(counting.DeleteFile("E:\\a\\c.tmp"));
  EXPECT_FALSE(sim.Exists("E:\\a\\c.tmp"));
  EXPECT_EQ(counting.Listings(), 0u);
  EXPECT_EQ(counting.LookUps(), 3u);

  // A walk through the counting system lists each folder once and never enters the link.
  const WalkCount walk = WalkThroughSystem(counting, "E:\\");
  EXPECT_EQ(walk.entries, 3u);  // a, link, a\b.txt
  EXPECT_EQ(walk.folders, 2u);
  EXPECT_EQ(counting.Listings(), 2u);
  EXPECT_EQ(counting.Listings(), sim.Calls(platform::sim::Op::kListFolder));
  counting.ResetCounts();
  EXPECT_EQ(counting.Listings() + counting.LookUps(), 0u);
}

TEST(BenchCounting, TheUiCountsEveryCheckAndPassesItOn) {
  platform::sim::SimUi sim;
  int reached = 0;
  sim.onProcessMessages = [&] { ++reached; };
  CountingUi counting(sim);
  ui::Application app(counting);
  for (int i = 0; i < 10; ++i)
    app.ProcessMessages();
  EXPECT_EQ(counting.MessageChecks(), 10u);
  EXPECT_EQ(reached, 10);

  counting.Drain();  // between walks: handled, not counted
  EXPECT_EQ(reached, 11);
  EXPECT_EQ(counting.MessageChecks(), 10u);

  // The rest is forwarded: forms realized on it get the backend's peers and metric.
  Stage stage(app);
  EXPECT_EQ(stage.review.TextWidth("abc"), 3 * platform::sim::SimUi::kCharWidth);
}

}  // namespace
}  // namespace bench
