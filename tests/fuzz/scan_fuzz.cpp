// A clean run's walk over a tree the input describes, deleting for good: it must remove exactly
// the files the rules give (read from the oracle matcher), report each once, count their sizes,
// and never touch what lies behind a link.
#include <algorithm>
#include <map>
#include <set>

#include "clean/scan.h"
#include "platform/sim/sim_system.h"
#include "platform/text_lines.h"
#include "settings/list_file.h"
#include "tests/clean/test_run.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/wildcard_oracle.h"

namespace fuzz {

namespace {

namespace attr = platform::attr;

constexpr std::size_t kMaxEntries = 48;

// A name the sim can hold as it is: no reserved character, no trailing dot or blank.
std::string UsableName(std::string name) {
  std::string kept;
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x20 &&
        std::string_view("<>:\"|?*/\\").find(c) == std::string_view::npos) {
      kept += c;
    }
  }
  while (!kept.empty() && (kept.back() == '.' || kept.back() == ' '))
    kept.pop_back();
  return kept == "." || kept == ".." ? std::string() : kept;
}

struct Entry {
  std::string path;  // as listed: folder path + name
  std::string name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
};

// Every entry below a folder of the sim, as its listings give them.
void Collect(platform::sim::SimSystem& sim, const std::string& folder,
             std::map<std::string, Entry>& out) {
  sim.ListFolder(folder, [&](const platform::DirEntry& entry) {
    Entry e{folder + entry.name, entry.name, entry.attributes, entry.size};
    out[platform::sim::FoldName(e.path)] = e;
    if (entry.IsDirectory() && !entry.IsReparsePoint()) {
      Collect(sim, e.path + "\\", out);
    }
    return true;
  });
}

}  // namespace

int Scan(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::vector<std::string> parts = SplitParts(data, size, 4);
  const std::vector<std::string> patterns = platform::SplitTextLines(parts[0]);
  const std::vector<std::string> exceptions = platform::SplitTextLines(parts[1]);
  const bool zeroBytePass = !parts[2].empty() && (parts[2][0] & 1) != 0;

  platform::sim::SimSystem sim;
  sim.AddDrive('C', platform::DriveType::kFixed);
  sim.AddDrive('E', platform::DriveType::kFixed);
  sim.AddFile("C:\\Docs\\thesis.tmp", "precious");
  sim.AddFile("C:\\Docs\\empty.txt", "");
  // Each line of the tree: an attribute byte, a size byte, then a path below E:\.
  std::size_t count = 0;
  for (const std::string& line : platform::SplitTextLines(parts[3])) {
    if (line.size() < 3 || ++count > kMaxEntries) continue;
    const auto kind = static_cast<unsigned char>(line[0]);
    const auto bytes = static_cast<unsigned char>(line[1]) % 8;
    std::string path = "E:";
    std::string_view rest = std::string_view(line).substr(2);
    int depth = 0;
    while (!rest.empty() && depth < 6) {
      const std::size_t cut = rest.find('\\');
      const std::string name = UsableName(std::string(rest.substr(0, cut)));
      if (!name.empty()) {
        path += "\\" + name;
        ++depth;
      }
      if (cut == std::string_view::npos) break;
      rest.remove_prefix(cut + 1);
    }
    if (depth == 0) continue;
    // A path that passes through a file or a link cannot be made: skip it.
    bool blocked = false;
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
      const std::optional<std::uint32_t> above = sim.Attributes(path.substr(0, at));
      if (above && (!(*above & attr::kDirectory) || (*above & attr::kReparsePoint))) blocked = true;
    }
    if (blocked || sim.Exists(path)) continue;
    if (kind & 0x40) {
      sim.AddFolderLink(path, (kind & 0x20) ? "E:\\" : "C:\\Docs");
    } else if (kind & 0x10) {
      sim.AddFolder(path, kind & (attr::kReadOnly | attr::kHidden | attr::kSystem));
    } else {
      sim.AddFile(path, std::string(bytes, 'x'),
                  (kind & (attr::kReadOnly | attr::kHidden | attr::kSystem)) | attr::kArchive);
    }
  }

  std::map<std::string, Entry> before;
  Collect(sim, "E:\\", before);
  // The exceptions as the run takes them, A-Z lower-cased: names, patterns (with a wildcard) and
  // absolute paths (with a drive or a server), which keep everything at and below them.
  std::set<std::string> excepted;
  std::vector<std::string> exceptedPatterns;
  std::vector<std::string> exceptedPaths;
  for (const std::string& exception : exceptions) {
    std::string lower = settings::LowerAsciiLetters(exception);
    const bool drive = lower.size() >= 3 && lower[0] >= 'a' && lower[0] <= 'z' && lower[1] == ':' &&
                       (lower[2] == '\\' || lower[2] == '/');
    const bool server = lower.size() >= 3 && (lower[0] == '\\' || lower[0] == '/') &&
                        (lower[1] == '\\' || lower[1] == '/') && lower[2] != '\\' &&
                        lower[2] != '/';
    if (drive || server) {
      std::replace(lower.begin(), lower.end(), '/', '\\');
      while (!lower.empty() && lower.back() == '\\')
        lower.pop_back();
      exceptedPaths.push_back(platform::sim::FoldName(lower) + '\\');
    } else if (lower.find_first_of("*?<>\"") != std::string::npos) {
      exceptedPatterns.push_back(lower);
    } else if (!lower.empty()) {
      excepted.insert(platform::sim::FoldName(lower));
    }
  }
  // What the rules say goes: an unprotected file whose long name a usable pattern matches, or
  // that is empty when the zero-byte pass is on.
  std::set<std::string> expected;
  std::int64_t expectedBytes = 0;
  for (const auto& [folded, entry] : before) {
    if (entry.attributes &
        (attr::kDirectory | attr::kReparsePoint | attr::kReadOnly | attr::kSystem)) {
      continue;
    }
    if (excepted.count(platform::sim::FoldName(entry.name))) continue;
    const std::string& name = entry.name;  // a structured binding cannot be captured (C++20)
    const std::string pathKey = platform::sim::FoldName(entry.path) + '\\';
    if (std::any_of(exceptedPaths.begin(), exceptedPaths.end(),
                    [&](const std::string& path) { return pathKey.starts_with(path); }) ||
        std::any_of(exceptedPatterns.begin(), exceptedPatterns.end(),
                    [&](const std::string& pattern) { return OracleMatches(pattern, name); })) {
      continue;
    }
    bool matched = zeroBytePass && entry.size == 0;
    for (const std::string& pattern : patterns) {
      if (pattern.find_first_of("\\/:") == std::string::npos &&
          OracleMatches(pattern, entry.name)) {
        matched = true;
      }
    }
    if (matched) {
      expected.insert(folded);
      expectedBytes += static_cast<std::int64_t>(entry.size);
    }
  }

  testing_clean::TestRun test(sim);
  clean::RunSettings& runSettings = test.settings;
  runSettings.FileEndingList = patterns;
  runSettings.ExceptionListLower = settings::ExceptionListLowerOf(exceptions);
  runSettings.AdvancedOptions[settings::kZeroByteFiles] = zeroBytePass;
  clean::Scanner scanner(test.run, runSettings, [&](const std::string& path, std::uint64_t) {
    return sim.DeleteFile(path);
  });
  scanner.ScanFolder("E:\\");

  std::set<std::string> removed;
  for (const auto& [folded, entry] : before) {
    if (!sim.Exists(entry.path)) removed.insert(folded);
  }
  FUZZ_CHECK(removed == expected);
  std::set<std::string> reported;
  for (const std::string& line : test.view.report)
    FUZZ_CHECK(reported.insert(platform::sim::FoldName(line)).second);
  FUZZ_CHECK(reported == expected);
  FUZZ_CHECK(test.state.freedBytes == expectedBytes);
  FUZZ_CHECK(sim.Content("C:\\Docs\\thesis.tmp") == "precious");
  FUZZ_CHECK(sim.Exists("C:\\Docs\\empty.txt"));
  return 0;
}

}  // namespace fuzz
