// The walk at the heart of a clean run: every folder below a root, depth first, taking the files
// whose long names match a junk pattern (and, on request, the empty files) unless excepted.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "clean/clean_run.h"
#include "platform/wildcard.h"
#include "settings/exceptions.h"

namespace clean {

// The removal hook of a run: takes a full path and the size its listing gave, returns true when
// the item is gone.
using FileAction = std::function<bool(const std::string& path, std::uint64_t size)>;

// A find handed over in a batch, and the hook of a run that hands its finds over so: `gone`
// receives one flag for each find, true for those that went.
struct Find {
  std::string path;
  std::uint64_t size = 0;
};
using BatchAction = std::function<void(std::span<const Find> finds, std::vector<bool>& gone)>;

// The most finds a batch holds: a stop waits for the batch in hand, so that bounds its delay.
inline constexpr std::size_t kBatchSize = 64;

// Drawing the status bar costs about a millisecond under Wine, more than listing a folder of a
// hundred entries; no eye follows more than this many folder names a second anyway.
inline constexpr std::chrono::milliseconds kStatusInterval{40};

class Scanner {
 public:
  Scanner(CleanRun& run, const RunSettings& settings, FileAction action);
  // A scan whose finds go in batches, gathered per folder and pass.
  Scanner(CleanRun& run, const RunSettings& settings, BatchAction batch);

  // Lists each folder once, then: its files pattern by pattern, its empty files, its subfolders.
  // The status text is left showing the last subfolder entered.
  void ScanFolder(const std::string& folder);

 private:
  // A listed entry that one of the three passes acts on; the others are only counted, since a
  // pass merely tests the stop flag and lets messages through for them.
  struct Candidate {
    std::size_t index = 0;  // position in the listing
    std::string name;
    std::uint64_t size = 0;
    bool eligible = false;   // a file, neither read-only, system, link nor excepted
    bool emptyFile = false;  // taken by the zero-byte pass
    bool subfolder = false;  // entered by the subfolder pass
    bool removed = false;
    bool taken = false;  // handed to the hook once: a second pass does not hand it again
  };
  // A pattern matching a candidate; the pattern pass goes through them by pattern, then listing.
  struct Hit {
    std::uint32_t pattern;
    std::uint32_t candidate;
  };
  // One folder's listing. One per depth, reused from folder to folder, so that a walk stops
  // allocating once it has been as deep and as wide as it goes.
  struct Level {
    std::vector<Candidate> candidates;
    std::size_t candidateCount = 0;
    std::vector<Hit> hits;
    std::size_t entryCount = 0;
  };

  void Walk(const std::string& path, std::size_t depth);
  void List(const std::string& path, Level& level);
  // Shows the folder being entered, at most once per kStatusInterval; the last one left out is
  // kept until the walk ends.
  void ShowFolder(const std::string& folder);
  void ShowPendingFolder();
  // Hands a candidate to the hook, or to the batch in hand; true when it went at once.
  bool Take(const std::string& path, Candidate& candidate);
  // Hands the gathered finds over, a batch at a time; each one that went is marked, counted and
  // reported in the order it was found. After a stop, what is left is not handed over.
  void Flush();
  void Count(const std::string& path, std::uint64_t size);

  CleanRun& run_;
  FileAction action_;
  BatchAction batch_;
  std::vector<Find> gathered_;
  std::vector<Candidate*> gatheredCandidates_;
  std::vector<bool> gone_;
  std::vector<platform::WildcardPattern> patterns_;
  // For each ASCII character (upper case), the patterns a name ending in it can match, in list
  // order; the last slot, for names ending outside ASCII, holds all of them.
  std::array<std::vector<std::uint32_t>, 129> patternsByLastChar_;
  settings::ExceptionMatcher exceptions_;
  bool zeroBytePass_;
  std::deque<Level> levels_;  // a deque, so that going deeper leaves the outer levels in place
  platform::FoldedName folded_;
  std::chrono::steady_clock::time_point folderShownAt_;
  std::string pendingFolder_;
  std::uint64_t listedBytes_ = 0;  // of the files listed, for the progress shown
};

}  // namespace clean
