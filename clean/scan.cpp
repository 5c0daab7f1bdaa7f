#include "clean/scan.h"

#include <algorithm>
#include <cstring>

#include "settings/patterns.h"

namespace clean {

namespace {

using platform::DirEntry;
namespace attr = platform::attr;

// Read-only and system entries are never taken; a link is never handed to a hook, since
// removing or recycling it can reach what it points to.
bool NeverTaken(const DirEntry& entry) {
  return (entry.attributes & (attr::kReadOnly | attr::kSystem | attr::kReparsePoint)) != 0;
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The character, upper-cased, that every name the pattern matches ends with; 0 when the pattern
// ends in a wildcard or outside ASCII. Windows drops a pattern's trailing dots and blanks, and a
// last character that is no wildcard must then equal the name's last one, in any case.
char LastCharOf(const std::string& pattern) {
  const std::size_t last = pattern.find_last_not_of(". ");
  if (last == std::string::npos) return 0;
  const char c = pattern[last];
  if ((static_cast<unsigned char>(c) & 0x80) != 0 || std::strchr("*?<>\"", c) != nullptr) {
    return 0;
  }
  return UpperAscii(c);
}

}  // namespace

Scanner::Scanner(CleanRun& run, const RunSettings& settings, BatchAction batch)
    : Scanner(run, settings, FileAction()) {
  batch_ = std::move(batch);
}

Scanner::Scanner(CleanRun& run, const RunSettings& settings, FileAction action)
    : run_(run),
      action_(std::move(action)),
      // The list as the run took it, A-Z lower-cased: the matcher ignores case all the same.
      exceptions_(settings.ExceptionListLower),
      zeroBytePass_(settings.AdvancedOptions[settings::kZeroByteFiles]) {
  // Compiled once per run, not once per name; most names then meet only the few patterns that
  // end in their last character, or in a wildcard.
  for (const std::string& pattern : settings.FileEndingList) {
    // A folder part would never match a name: the walk takes bare names only.
    if (settings::HoldsFolderSeparator(pattern)) continue;
    const auto index = static_cast<std::uint32_t>(patterns_.size());
    patterns_.emplace_back(pattern);
    const char last = LastCharOf(pattern);
    for (std::size_t c = 0; c < 128; ++c) {
      if (last == 0 || last == UpperAscii(static_cast<char>(c))) {
        patternsByLastChar_[c].push_back(index);
      }
    }
    patternsByLastChar_[128].push_back(index);
  }
}

void Scanner::Count(const std::string& path, std::uint64_t size) {
  run_.AddFreed(static_cast<std::int64_t>(size));
  run_.Report(path);
}

bool Scanner::Take(const std::string& path, Candidate& candidate) {
  candidate.taken = true;
  if (batch_) {
    gathered_.push_back({path, candidate.size});
    gatheredCandidates_.push_back(&candidate);
    return false;
  }
  if (!action_(path, candidate.size)) return false;
  Count(path, candidate.size);
  return true;
}

void Scanner::Flush() {
  for (std::size_t begin = 0; begin < gathered_.size(); begin += kBatchSize) {
    if (begin > 0) run_.ProcessMessages();
    if (run_.Stopped()) break;
    const std::size_t count = std::min(kBatchSize, gathered_.size() - begin);
    batch_(std::span<const Find>(gathered_).subspan(begin, count), gone_);
    for (std::size_t i = 0; i < count; ++i) {
      if (!gone_[i]) continue;
      gatheredCandidates_[begin + i]->removed = true;
      Count(gathered_[begin + i].path, gathered_[begin + i].size);
    }
  }
  gathered_.clear();
  gatheredCandidates_.clear();
}

void Scanner::ScanFolder(const std::string& folder) {
  Walk(folder.empty() || folder.back() != '\\' ? folder + '\\' : folder, 0);
  ShowPendingFolder();
}

void Scanner::ShowFolder(const std::string& folder) {
  const std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
  if (now - folderShownAt_ < kStatusInterval) {
    pendingFolder_ = folder;
    return;
  }
  folderShownAt_ = now;
  pendingFolder_.clear();
  run_.ShowScanned(folder, listedBytes_);
}

void Scanner::ShowPendingFolder() {
  if (pendingFolder_.empty()) return;
  run_.ShowScanned(pendingFolder_, listedBytes_);
  pendingFolder_.clear();
}

// Everything the passes need is decided while the listing runs: each name is folded once and
// tried there against the patterns that can match it, and only the entries a pass acts on are
// kept.
void Scanner::List(const std::string& path, Level& level) {
  level.candidateCount = 0;
  level.entryCount = 0;
  level.hits.clear();
  run_.System().ListFolder(path, [&](const DirEntry& entry) {
    const std::size_t index = level.entryCount++;
    if (!entry.IsDirectory()) listedBytes_ += entry.size;
    const auto candidate = static_cast<std::uint32_t>(level.candidateCount);
    const std::size_t hitsBefore = level.hits.size();
    if (!entry.name.empty()) {
      const auto last = static_cast<unsigned char>(entry.name.back());
      const std::vector<std::uint32_t>& tried = patternsByLastChar_[last < 128 ? last : 128];
      if (!tried.empty()) folded_.Assign(entry.name);
      for (const std::uint32_t p : tried) {
        if (patterns_[p].Matches(folded_)) level.hits.push_back({p, candidate});
      }
    }
    const bool matched = level.hits.size() != hitsBefore;
    const bool empty = zeroBytePass_ && entry.size == 0 && !entry.IsDirectory();
    // Links are never followed: no loops, and no walk into another drive or folder.
    const bool subfolder = entry.IsDirectory() && !entry.IsReparsePoint();
    // Files only: a folder named like junk may hold anything.
    const bool eligible = (matched || empty) && !entry.IsDirectory() && !NeverTaken(entry) &&
                          !exceptions_.KeepsFile(path, entry.name);
    if (!matched && !subfolder && !(empty && eligible)) return true;

    if (level.candidateCount == level.candidates.size()) level.candidates.emplace_back();
    Candidate& c = level.candidates[level.candidateCount++];
    c.index = index;
    c.name.assign(entry.name);
    c.size = entry.size;
    c.eligible = eligible;
    c.emptyFile = empty && eligible;
    c.subfolder = subfolder;
    c.removed = false;
    c.taken = false;
    return true;
  });
  // Pattern by pattern; within a pattern in listing order, the order in which they were added.
  if (level.hits.size() > 1) {
    std::stable_sort(level.hits.begin(), level.hits.end(),
                     [](const Hit& a, const Hit& b) { return a.pattern < b.pattern; });
  }
}

void Scanner::Walk(const std::string& path, std::size_t depth) {
  // A folder on the exception list is kept whole: nothing in it is looked at.
  if (exceptions_.KeepsFolder(path)) return;
  if (depth == levels_.size()) levels_.emplace_back();
  Level& level = levels_[depth];
  List(path, level);
  Candidate* const candidates = level.candidates.data();
  const std::size_t candidateCount = level.candidateCount;

  // A stop discards what was gathered for a batch but not handed over.
  struct Discard {
    Scanner& scanner;
    ~Discard() {
      scanner.gathered_.clear();
      scanner.gatheredCandidates_.clear();
    }
  } discard{*this};
  for (const Hit& hit : level.hits) {
    Candidate& c = candidates[hit.candidate];
    if (c.taken) continue;
    if (run_.Stopped()) return;
    if (c.eligible) c.removed = Take(path + c.name, c);
    run_.ProcessMessages();
  }
  Flush();

  // The two later passes visit every entry; the ones between candidates only pass the stop test
  // and the message check.
  if (zeroBytePass_) {
    run_.EmptyFilePass(true);
    std::size_t next = 0;
    for (std::size_t i = 0; i < level.entryCount; ++i) {
      if (run_.Stopped()) return;
      if (next < candidateCount && candidates[next].index == i) {
        Candidate& c = candidates[next++];
        if (c.emptyFile && !c.taken) c.removed = Take(path + c.name, c);
      }
      run_.ProcessMessages();
    }
    Flush();
    run_.EmptyFilePass(false);
  }

  std::size_t next = 0;
  for (std::size_t i = 0; i < level.entryCount; ++i) {
    if (run_.Stopped()) return;
    if (next < candidateCount && candidates[next].index == i) {
      const Candidate& c = candidates[next++];
      if (c.subfolder && !c.removed) {
        const std::string subfolder = path + c.name;
        ShowFolder(subfolder);
        Walk(subfolder + '\\', depth + 1);
      }
    }
    run_.ProcessMessages();
  }
}

}  // namespace clean
