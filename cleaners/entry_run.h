// Running one entry: its FileKeys and RegKeys, spared what its ExcludeKeys name, through the
// run's System (so that an analysis runs the very same way against the dry run). Each folder a
// key names passes the run's guard (cleanups::PlaceGuard: where it really leads, below the
// folder of its variable) before anything in it is removed, and is worked in where it leads.
//
// The semantics, stated once:
// - A FileKey's folder parts and patterns are Windows wildcards on long names; `*` and `*.*`
//   are the same; a list matches when any of its patterns does; a pattern is exact (`LOG` does
//   not take `x.log`).
// - No flag: the matching files directly in each matching folder; RECURSE: also in every folder
//   below; REMOVESELF: as RECURSE, then each folder left empty, deepest first, then the folder
//   itself when empty, unless it is a variable's own folder (%Temp%). A folder is never removed
//   while anything is left in it.
// - Links (junctions, symbolic links) are neither entered nor removed: a folder reached through
//   a link is skipped. Read-only and system files stay. Files are deleted for good.
// - ExcludeKey FILE spares the named files in its folder, PATH with a pattern the matching files
//   in its folder and below, PATH without one all of its folder and below (the folder too), and
//   REG a registry key with all below it from the entry's RegKeys.
// - A RegKey deletes a key with all below it, or one value; HKLM\Software keys also in the
//   32-bit view (Software\WOW6432Node).
// - The guards refuse a key whose folder has "." or ".." parts, RECURSE, REMOVESELF or a
//   match-everything pattern at a protected folder (or at what a wildcard part lets stand for
//   one), and registry keys the system relies on; an entry whose ExcludeKey could not be read
//   runs none of its keys, since what it spares is unknown. A place the run's guard refuses is
//   listed with the key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cleaners/places.h"
#include "cleaners/rule_file.h"
#include "cleanups/run_context.h"

namespace cleaners {

struct EntryOutcome {
  std::int64_t files = 0;  // removed, and the bytes they freed
  std::int64_t bytes = 0;
  std::int64_t registryItems = 0;  // keys (each with all below it) and values deleted
  // Set when the entry was left alone because this program of its Running keys runs.
  std::string runningProgram;
  // The keys the guards refused, whole or for one of their folders: those refused when the file
  // was read, then the others in the order of the file.
  std::vector<KeyNote> refused;
  bool stopped = false;  // the run was stopped before the entry was done
};

// The keys the guards refuse on this system before anything runs, those refused when the file
// was read first.
std::vector<KeyNote> Refusals(const Entry& entry, const Places& places);

// Runs the entry, unless one of its programs runs. Counts what it frees into the run
// (AddFreed), ends at the next folder entry once the run is stopped, and keeps the window alive.
EntryOutcome RunEntry(const Entry& entry, const Places& places, cleanups::RunContext& run);

}  // namespace cleaners
