// On random trees with random names, attributes, links, patterns and exceptions, the walk removes
// exactly what an independent oracle says, and nothing read-only, system, excepted or below a
// link is ever touched.
#include <gtest/gtest.h>

#include <algorithm>

#include <cctype>
#include <random>
#include <set>

#include "clean/scan.h"
#include "platform/sim/sim_system.h"
#include "settings/list_file.h"
#include "tests/clean/test_run.h"
#include "tests/platform/reference_wildcard.h"

namespace {

using platform::DriveType;
namespace attr = platform::attr;

struct Seeded {
  std::string path;
  std::string name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  bool folder = false;
  bool link = false;
  bool belowLink = false;  // reachable only through a link
};

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Below(100) < percent; }

  std::string Name() {
    static const std::string kAlphabet = "abcABC~$._ xyz0";
    static const std::vector<std::string> kEndings = {".tmp", ".TMP", ".chk", ".txt", ".~1",
                                                      ".$$$", "",     ".a.b", ".gid", "."};
    std::string name;
    const int length = 1 + Below(6);
    for (int i = 0; i < length; ++i)
      name += kAlphabet[static_cast<size_t>(Below(15))];
    name += kEndings[static_cast<size_t>(Below(static_cast<int>(kEndings.size())))];
    // Windows keeps no trailing dots or blanks, nor a name that is only dots.
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
      name.pop_back();
    if (name.empty() || name.find_first_not_of('.') == std::string::npos) name = "n" + name;
    return name;
  }

  std::string Pattern() {
    static const std::vector<std::string> kPool = {
        "*.tmp", "~*.*", "*.~*", "*.$$$", "?.txt", "a*",   "*.",    "*.?",    "*c*.t?p",
        "*.chk", "x*.a", "b?c",  "*~*",   "*.*.",  "?*.b", "*.gid", "sub\\*", "C:*.tmp"};
    return kPool[static_cast<size_t>(Below(static_cast<int>(kPool.size())))];
  }

  std::mt19937& Random() { return random_; }

 private:
  std::mt19937 random_;
};

struct Case {
  std::vector<Seeded> items;
  std::vector<std::string> patterns;
  std::vector<std::string> exceptions;
  bool zeroBytePass = false;
};

Case MakeCase(Generator& g, platform::sim::SimSystem& sim) {
  Case c;
  sim.AddDrive('E', DriveType::kFixed);
  sim.AddDrive('C', DriveType::kFixed);
  sim.AddFile("C:\\outside\\precious.tmp", "keep");
  sim.AddFile("C:\\outside\\empty.txt", "");
  c.items.push_back({"C:\\outside\\precious.tmp", "precious.tmp", 0, 4, false, false, true});
  c.items.push_back({"C:\\outside\\empty.txt", "empty.txt", 0, 0, false, false, true});

  std::vector<std::string> folders = {"E:"};
  std::set<std::string> usedPaths;
  const int count = 5 + g.Below(40);
  for (int i = 0; i < count; ++i) {
    const std::string parent =
        folders[static_cast<size_t>(g.Below(static_cast<int>(folders.size())))];
    Seeded item;
    item.name = g.Name();
    item.path = parent + "\\" + item.name;
    if (!usedPaths.insert(settings::LowerAsciiLetters(item.path)).second) continue;
    const int kind = g.Below(100);
    if (kind < 15 && parent.size() < 40) {
      item.folder = true;
      item.attributes = g.Chance(20) ? attr::kHidden : 0;
      sim.AddFolder(item.path, item.attributes);
      folders.push_back(item.path);
    } else if (kind < 20) {
      item.link = item.folder = true;
      item.attributes = attr::kDirectory | attr::kReparsePoint;
      sim.AddFolderLink(item.path, g.Chance(50) ? "C:\\outside" : "E:\\");
    } else {
      if (g.Chance(15)) item.attributes |= attr::kReadOnly;
      if (g.Chance(20)) item.attributes |= attr::kHidden;
      if (g.Chance(10)) item.attributes |= attr::kSystem;
      item.size = g.Chance(25) ? 0 : static_cast<std::uint64_t>(1 + g.Below(5000));
      sim.AddFileOfSize(item.path, item.size, item.attributes);
    }
    c.items.push_back(item);
  }
  const int patterns = g.Below(5);
  for (int i = 0; i < patterns; ++i)
    c.patterns.push_back(g.Pattern());
  for (const Seeded& item : c.items) {
    if (!item.folder && g.Chance(10)) {
      std::string exception = item.name;
      for (char& ch : exception) {
        if (g.Chance(50)) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      }
      c.exceptions.push_back(exception);
    }
  }
  c.exceptions.push_back("*.tmp");  // a pattern keeps every name it takes
  c.zeroBytePass = g.Chance(50);
  return c;
}

// What must go: plain files reached without a link, neither read-only nor system, not excepted
// by name or by pattern, matching a usable pattern (or empty, with the zero-byte pass). Folders
// cannot be deleted.
std::set<std::string> Oracle(const Case& c) {
  std::set<std::string> excepted;
  std::vector<std::string> exceptedPatterns;
  for (const std::string& e : c.exceptions) {
    if (e.find_first_of("*?<>\"") != std::string::npos)
      exceptedPatterns.push_back(e);
    else
      excepted.insert(settings::LowerAsciiLetters(e));
  }
  std::set<std::string> expected;
  for (const Seeded& item : c.items) {
    if (item.folder || item.belowLink) continue;
    if (item.attributes & (attr::kReadOnly | attr::kSystem)) continue;
    if (excepted.count(settings::LowerAsciiLetters(item.name))) continue;
    if (std::any_of(exceptedPatterns.begin(), exceptedPatterns.end(), [&](const std::string& p) {
          return reference_wildcard::ReferenceMatches(p, item.name);
        })) {
      continue;
    }
    bool take = c.zeroBytePass && item.size == 0;
    for (const std::string& pattern : c.patterns) {
      if (pattern.find_first_of("\\/:") != std::string::npos) continue;
      take = take || reference_wildcard::ReferenceMatches(pattern, item.name);
    }
    if (take) expected.insert(item.path);
  }
  return expected;
}

TEST(ScanProperty, RemovesExactlyWhatTheOracleSays) {
  Generator g(20261208);
  constexpr int kCases = 400;
  for (int n = 0; n < kCases; ++n) {
    platform::sim::SimSystem sim;
    testing_clean::TestRun test(sim);
    const Case c = MakeCase(g, sim);

    clean::RunSettings& settings = test.settings;
    settings.FileEndingList = c.patterns;
    settings.ExceptionListLower = settings::ExceptionListLowerOf(c.exceptions);
    settings.AdvancedOptions[settings::kZeroByteFiles] = c.zeroBytePass;
    std::vector<std::string> handed;
    clean::Scanner scanner(test.run, settings, [&](const std::string& path, std::uint64_t) {
      handed.push_back(path);
      return sim.DeleteFile(path);
    });
    scanner.ScanFolder("E:\\");

    const std::set<std::string> expected = Oracle(c);
    std::set<std::string> removed;
    std::uint64_t expectedBytes = 0;
    for (const Seeded& item : c.items) {
      if (!sim.Exists(item.path)) removed.insert(item.path);
      if (expected.count(item.path)) expectedBytes += item.size;
    }
    const std::set<std::string> reported(test.view.report.begin(), test.view.report.end());
    ASSERT_EQ(removed, expected) << "case " << n << "\n" << sim.Dump();
    ASSERT_EQ(reported, expected) << "case " << n;
    for (const std::string& path : handed) {
      // Nothing below a link and no link itself is ever handed to the hook.
      for (const Seeded& item : c.items) {
        if (item.path == path) {
          ASSERT_FALSE(item.link || item.belowLink) << path;
        }
      }
    }
    ASSERT_EQ(static_cast<std::uint64_t>(test.state.freedBytes), expectedBytes) << "case " << n;
  }
}

}  // namespace
