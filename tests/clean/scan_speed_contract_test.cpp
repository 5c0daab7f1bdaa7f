// What keeps the walk fast, as facts rather than timings: one listing per folder and no look-up
// per entry; one message check per entry and pass, so that a stop pressed at the n-th check
// ends the walk right there; and the walk's shortcuts (patterns met by the name's last character,
// buffers reused from folder to folder) never change what it finds.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "clean/scan.h"
#include "platform/sim/sim_system.h"
#include "platform/wildcard.h"
#include "tests/clean/test_run.h"

namespace {

using platform::DriveType;
using platform::sim::Op;
using Lines = std::vector<std::string>;
namespace attr = platform::attr;

// The twenty patterns of the benchmark: the nine shipped ones and eleven more.
const Lines kTwentyPatterns = {"*.tmp", "~*.tmp", "*.~*",  "*.$$$", "*.chk", "*.gid",    "*.fts",
                               "*.ftg", "*.dmp",  "*.bak", "*.old", "*.wbk", "*.xlk",    "*._mp",
                               "*.---", "*.err",  "*.syd", "*.prv", "~$*",   "thumbs.db"};

// One walk in review mode on the sim: what the hook was handed, between the message checks.
struct Walk {
  platform::sim::SimSystem sim;
  testing_clean::TestRun test{sim};
  clean::RunState& state = test.state;
  clean::RunSettings& settings = test.settings;
  // "check" for a message check ("stop" for the one that presses stop), else the path handed
  // to the hook.
  Lines events;
  int checks = 0;
  int stopAt = 0;  // the message check at which the stop button is pressed; 0: never

  Walk() {
    sim.AddDrive('E', DriveType::kFixed);
    test.view.onProcessMessages = [this] {
      const bool press = ++checks == stopAt;
      if (press) state.stop = true;
      events.push_back(press ? "stop" : "check");
    };
  }

  Lines Scan(const std::string& root = "E:\\") {
    Lines found;
    clean::Scanner scanner(test.run, settings, [&](const std::string& path, std::uint64_t) {
      events.push_back(path);
      found.push_back(path);
      return false;
    });
    scanner.ScanFolder(root);
    return found;
  }
  // The status text last shown.
  std::string Status() const {
    return test.view.statuses.empty() ? std::string() : test.view.statuses.back();
  }
};

// A tree with folders at several depths, matches for several patterns, empty, hidden,
// read-only and system files, a link and a matching folder; returns the number of folders.
int Seed(platform::sim::SimSystem& sim) {
  const Lines folders = {"E:\\a",          "E:\\a\\b", "E:\\a\\b\\c",
                         "E:\\a\\b\\c\\d", "E:\\wide", "E:\\x.tmp"};
  for (const std::string& folder : folders)
    sim.AddFolder(folder);
  sim.AddFolder("E:\\hidden", attr::kHidden);
  sim.AddFolderLink("E:\\link", "E:\\a");
  const Lines names = {"notes.txt", "a.tmp", "~b.tmp", "c.$$$", "THUMBS.DB", "x.~1", "~$doc.docx"};
  int n = 0;
  for (const std::string& folder :
       {std::string("E:"), std::string("E:\\a\\b\\c\\d"), std::string("E:\\hidden")}) {
    for (const std::string& name : names)
      sim.AddFileOfSize(folder + "\\" + name, 1 + n++);
  }
  for (int i = 0; i < 40; ++i)
    sim.AddFileOfSize("E:\\wide\\f" + std::to_string(i) + ".dat", i % 7);
  sim.AddFileOfSize("E:\\a\\empty.tmp", 0);
  sim.AddFileOfSize("E:\\a\\ro.tmp", 1, attr::kReadOnly);
  sim.AddFileOfSize("E:\\a\\sys.tmp", 0, attr::kSystem);
  sim.AddFileOfSize("E:\\a\\b\\desktop.ini", 0, attr::kHidden);
  return static_cast<int>(folders.size()) + 2;  // the hidden folder and the root
}

TEST(ScanSpeedContract, OneListingPerFolderAndNoLookUpWhateverTheHook) {
  for (int hook = 0; hook < 3; ++hook) {
    Walk w;
    const int folders = Seed(w.sim);
    w.settings.FileEndingList = kTwentyPatterns;
    w.settings.ExceptionListLower = {"desktop.ini"};
    w.settings.AdvancedOptions[settings::kZeroByteFiles] = true;
    w.sim.ResetCounters();
    clean::Scanner scanner(w.test.run, w.settings, [&](const std::string& path, std::uint64_t) {
      if (hook == 0) return false;
      return hook == 1 ? w.sim.DeleteFile(path)
                       : w.sim.MoveToRecycleBin(path) == platform::Recycled::kYes;
    });
    scanner.ScanFolder("E:\\");
    // The folder x.tmp is no find: it is entered whatever the hook.
    EXPECT_EQ(w.sim.Calls(Op::kListFolder), static_cast<std::uint64_t>(folders)) << hook;
    EXPECT_EQ(w.sim.Calls(Op::kLookUp) + w.sim.Calls(Op::kStatus), 0u) << hook;
  }
}

TEST(ScanSpeedContract, OneMessageCheckPerEntryAndPassThatActsOnIt) {
  Walk w;
  w.settings.FileEndingList = {"*.tmp", "*.t?p", "*.txt"};
  w.settings.AdvancedOptions[settings::kZeroByteFiles] = true;
  w.sim.AddFileOfSize("E:\\a.tmp", 0);  // two patterns and the zero-byte pass
  w.sim.AddFileOfSize("E:\\b.txt", 3);
  w.sim.AddFileOfSize("E:\\c.dat", 3);
  w.sim.AddFolder("E:\\sub");
  w.sim.AddFileOfSize("E:\\sub\\d.tmp", 3);
  const Lines listed = w.Scan();
  // A file is handed once, at the first pattern that meets it.
  EXPECT_EQ(listed, (Lines{"E:\\a.tmp", "E:\\b.txt", "E:\\sub\\d.tmp"}));
  // Root: 2 files handed, 4 entries in the zero-byte pass, 4 in the subfolder pass; sub: 1+1+1.
  EXPECT_EQ(w.checks, 10 + 3);
  EXPECT_EQ(w.events.back(), "check");  // the last entry is checked after it, too
}

// For every n, a stop pressed at the n-th check ends the walk at that very entry: the hook has
// been handed exactly what came before the n-th check of a full walk, and no folder is listed
// after it. Unwinding lets messages through once per level, as after every subfolder.
TEST(ScanSpeedContract, AStopAtTheNthCheckIsHonouredAtTheNthEntry) {
  Walk full;
  Seed(full.sim);
  full.settings.FileEndingList = kTwentyPatterns;
  full.settings.AdvancedOptions[settings::kZeroByteFiles] = true;
  std::vector<std::uint64_t> listingsAt;  // listings made by each check of the full walk
  full.sim.ResetCounters();
  full.test.view.onProcessMessages = [&] {
    full.events.push_back("check");
    ++full.checks;
    listingsAt.push_back(full.sim.Calls(Op::kListFolder));
  };
  full.Scan();
  ASSERT_GT(full.checks, 100);

  for (int n = 1; n <= full.checks; ++n) {
    Walk w;
    Seed(w.sim);
    w.settings = full.settings;
    w.stopAt = n;
    w.sim.ResetCounters();
    w.Scan();
    Lines expected;
    int seen = 0;
    for (const std::string& event : full.events) {
      const bool press = event == "check" && ++seen == n;
      expected.push_back(press ? "stop" : event);
      if (press) break;
    }
    ASSERT_GE(w.events.size(), expected.size()) << "stop at check " << n;
    const Lines upToStop(w.events.begin(),
                         w.events.begin() + static_cast<std::ptrdiff_t>(expected.size()));
    ASSERT_EQ(upToStop, expected) << "stop at check " << n;
    const Lines unwinding(w.events.begin() + static_cast<std::ptrdiff_t>(expected.size()),
                          w.events.end());
    ASSERT_LE(unwinding.size(), 4u) << "stop at check " << n;  // the tree is four folders deep
    for (const std::string& event : unwinding)
      ASSERT_EQ(event, "check") << n;
    ASSERT_EQ(w.sim.Calls(Op::kListFolder), listingsAt[static_cast<std::size_t>(n - 1)]) << n;
  }
}

TEST(ScanSpeedContract, AStopBeforeTheWalkListsOnlyTheRoot) {
  Walk w;
  Seed(w.sim);
  w.settings.FileEndingList = kTwentyPatterns;
  w.state.stop = true;
  w.sim.ResetCounters();
  EXPECT_TRUE(w.Scan().empty());
  EXPECT_EQ(w.sim.Calls(Op::kListFolder), 1u);
  EXPECT_EQ(w.checks, 0);
}

// Patterns are met by the name's last character; names and patterns around that rule must
// come out as the matcher itself says.
TEST(ScanSpeedContract, PatternsMetByTheLastCharacterFindWhatTheMatcherFinds) {
  const Lines patterns = {"*.tmp", "*.TMP. ", "a.",  "*.",         "*.*",       "?.t?", "*.t<",
                          "*.t>",  "*.t\"",   "*~",  "*.\xC3\xA4", "*\xC3\x84", "b c",  "*.~*",
                          "x",     "*.d.",    "~$*", "*1",         "*.tm?",     "*.$$$"};
  // Unique as Windows compares names, since they share a folder.
  const Lines names = {"a",      "B",          "x.tmp",      "W.TMP",    "y.Tmp",     "z.tm",
                       "a.tmp1", "file~",      "b c",        "D E",      "r.t",       "s.tx",
                       "x",      "n.\xC3\xA4", "M.\xC3\x84", "\xC3\xA4", "q\xC3\x84", "f.d",
                       "v1",     "~$w.doc",    "e.~",        "noext",    "m.$$$",     "t.t1"};
  Walk w;
  for (const std::string& name : names)
    w.sim.AddFileOfSize("E:\\" + name, 5);
  w.settings.FileEndingList = patterns;
  const Lines listed = w.Scan();

  // The walk's order: pattern by pattern, each in listing order.
  Lines listing;
  w.sim.ListFolder("E:\\", [&](const platform::DirEntry& entry) {
    listing.push_back(entry.name);
    return true;
  });
  Lines expected;
  std::set<std::string> handed;  // each file once, at the first pattern that meets it
  for (const std::string& pattern : patterns) {
    for (const std::string& name : listing) {
      if (platform::MatchesWildcard(pattern, name) && handed.insert(name).second) {
        expected.push_back("E:\\" + name);
      }
    }
  }
  EXPECT_EQ(listed, expected);
  EXPECT_GT(expected.size(), 20u);
}

// The per-depth buffers are reused from folder to folder and from walk to walk: a sibling with
// few entries after one with many, and a second walk, find exactly what a first walk finds.
TEST(ScanSpeedContract, ReusedBuffersCarryNothingFromOneFolderToTheNext) {
  Walk w;
  for (int i = 0; i < 50; ++i) {
    w.sim.AddFileOfSize("E:\\big\\deep\\f" + std::to_string(i) + (i % 2 ? ".tmp" : ".txt"), 0);
  }
  w.sim.AddFileOfSize("E:\\small\\deep\\keep.txt", 4);
  w.sim.AddFileOfSize("E:\\small\\one.tmp", 4);
  w.sim.AddFolder("E:\\small\\deep\\inner");
  w.settings.FileEndingList = {"*.tmp"};
  w.settings.AdvancedOptions[settings::kZeroByteFiles] = true;
  w.sim.ResetCounters();
  const Lines first = w.Scan();
  EXPECT_EQ(first.size(), 25u + 25u + 1u);      // the empty .tmp files once, by their pattern
  EXPECT_EQ(w.sim.Calls(Op::kListFolder), 6u);  // root, big, big\deep, small, deep, inner

  Lines again;
  clean::Scanner scanner(w.test.run, w.settings, [&](const std::string& path, std::uint64_t) {
    again.push_back(path);
    return false;
  });
  for (int round = 0; round < 2; ++round) {
    again.clear();
    scanner.ScanFolder("E:\\big");
    scanner.ScanFolder("E:\\small\\");
    EXPECT_EQ(again, first) << round;
  }
}

// The status text follows the walk at a pace the eye can follow, and is left showing the last
// subfolder entered, whether the walk ends or is stopped.
TEST(ScanSpeedContract, TheStatusIsLeftShowingTheLastSubfolderEntered) {
  Walk w;
  for (const char* folder : {"E:\\a\\b", "E:\\c\\d", "E:\\c\\e"})
    w.sim.AddFolder(folder);
  w.sim.AddFileOfSize("E:\\c\\d\\x.tmp", 1);
  w.settings.FileEndingList = {"*.tmp"};
  w.Scan();
  EXPECT_EQ(w.Status(), "E:\\c\\e");

  w.test.view.onProcessMessages = [&w] {
    if (!w.events.empty() && w.events.back() == "E:\\c\\d\\x.tmp") w.state.stop = true;
    w.events.push_back("check");
  };
  w.test.view.statuses.clear();
  w.Scan();
  EXPECT_TRUE(w.state.stop);
  EXPECT_EQ(w.Status(), "E:\\c\\d");
  w.Scan("E:\\a");  // a stopped walk enters nothing more, and shows nothing else
  EXPECT_EQ(w.Status(), "E:\\c\\d");
}

TEST(ScanSpeedContract, NeverTakenEntriesAreCheckedButNotHanded) {
  Walk w;
  w.settings.FileEndingList = {"*.tmp"};
  w.settings.ExceptionListLower = {"keep.tmp"};
  w.settings.AdvancedOptions[settings::kZeroByteFiles] = true;
  w.sim.AddFileOfSize("E:\\ro.tmp", 0, attr::kReadOnly);
  w.sim.AddFileOfSize("E:\\sys.tmp", 0, attr::kSystem | attr::kHidden);
  w.sim.AddFileOfSize("E:\\KEEP.tmp", 0);
  w.sim.AddFolderLink("E:\\link.tmp", "E:\\");
  w.sim.AddFileOfSize("E:\\hidden.tmp", 0, attr::kHidden);
  const Lines listed = w.Scan();
  EXPECT_EQ(listed, (Lines{"E:\\hidden.tmp"}));
  // Five pattern hits, five entries in each later pass: every one is checked.
  EXPECT_EQ(w.checks, 15);
}

}  // namespace
