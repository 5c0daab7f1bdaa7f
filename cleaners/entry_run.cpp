#include "cleaners/entry_run.h"

#include "cleaners/detection.h"
#include "cleaners/key_runs.h"

namespace cleaners {

namespace {

// Whether an ExcludeKey of the entry was skipped: its keys would take what it was to spare.
bool ExclusionUnread(const Entry& entry) {
  for (const KeyNote& note : entry.skipped) {
    if (note.key.size() >= 10 && platform::SameName(note.key.substr(0, 10), "ExcludeKey")) {
      return true;
    }
  }
  return false;
}

// The keys the guards refused when the file was read (a folder with "." or ".." parts).
std::vector<KeyNote> SkippedRefusals(const Entry& entry) {
  std::vector<KeyNote> refused;
  for (const KeyNote& note : entry.skipped) {
    if (IsRefusal(note.issue)) refused.push_back(note);
  }
  return refused;
}

std::optional<KeyNote> RefusalOf(const FileKey& key, bool unread, const Places& places) {
  if (unread) return KeyNote{key.name, key.value, Issue::kExclusionUnread, {}};
  return internal::FileKeyRefusal(key, places);
}

std::optional<KeyNote> RefusalOf(const RegKey& key, bool unread, const Places&) {
  if (unread) return KeyNote{key.name, key.value, Issue::kExclusionUnread, {}};
  return internal::RegKeyRefusal(key);
}

}  // namespace

std::vector<KeyNote> Refusals(const Entry& entry, const Places& places) {
  std::vector<KeyNote> refused = SkippedRefusals(entry);
  const bool unread = ExclusionUnread(entry);
  for (const FileKey& key : entry.fileKeys) {
    if (std::optional<KeyNote> note = RefusalOf(key, unread, places)) refused.push_back(*note);
  }
  for (const RegKey& key : entry.regKeys) {
    if (std::optional<KeyNote> note = RefusalOf(key, unread, places)) refused.push_back(*note);
  }
  return refused;
}

EntryOutcome RunEntry(const Entry& entry, const Places& places, cleanups::RunContext& run) {
  EntryOutcome outcome;
  platform::System& system = run.System();
  for (const std::string& program : entry.running) {
    if (system.ProcessRunning(program)) {
      outcome.runningProgram = program;
      return outcome;
    }
  }
  outcome.refused = SkippedRefusals(entry);
  internal::Tally tally;
  const bool unread = ExclusionUnread(entry);
  const internal::Excludes excludes(entry, places.Vars());
  for (const FileKey& key : entry.fileKeys) {
    if (run.Stopped()) break;
    if (std::optional<KeyNote> note = RefusalOf(key, unread, places)) {
      outcome.refused.push_back(std::move(*note));
    } else {
      internal::RunFileKey(key, excludes, places, run, tally, outcome.refused);
    }
  }
  std::vector<RegistryPath> spared;
  for (const ExcludeKey& key : entry.excludeKeys) {
    if (key.kind != ExcludeKind::kRegistry) continue;
    spared.push_back(key.key);
    if (std::optional<RegistryPath> twin = Wow64Twin(key.key)) spared.push_back(std::move(*twin));
  }
  for (const RegKey& key : entry.regKeys) {
    if (run.Stopped()) break;
    if (std::optional<KeyNote> note = RefusalOf(key, unread, places)) {
      outcome.refused.push_back(std::move(*note));
    } else {
      internal::RunRegKey(key, spared, run, tally);
    }
  }
  outcome.files = tally.files;
  outcome.bytes = tally.bytes;
  outcome.registryItems = tally.registryItems;
  outcome.stopped = run.Stopped();
  return outcome;
}

}  // namespace cleaners
