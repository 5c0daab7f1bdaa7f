// Rule files in the winapp2.ini format: one section per entry, its keys telling when the entry
// applies to this computer and what it cleans. Reading only: nothing here asks the system.
//
// Every key is either read or skipped with its reason; a key that cannot be read never costs
// the entry its other keys.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace cleaners {

// Why a key is not used, as a skipped key of the file or a key the guards refused.
enum class Issue {
  // The key is skipped when the file is read.
  kOutsideEntry,         // a line before the first section
  kNotAKey,              // a line of an entry without '='
  kUnknownKey,           // a key name this program does not know
  kRepeatedKey,          // a second LangSecRef, Section, Warning or DetectOS
  kEmptyValue,           // nothing after '='
  kNoBar,                // a FileKey or ExcludeKey without '|'
  kUnknownVariable,      // a %Name% this program does not know
  kNoPlainPath,          // a folder that is no plain full path: relative, or \\?\ or \\.\ form
  kNoPattern,            // a FileKey or PATH exclusion whose pattern part is empty
  kPatternWithFolder,    // a pattern holding a folder separator
  kUnknownFlag,          // a FileKey flag other than RECURSE or REMOVESELF, or more than one
  kUnknownExcludeKind,   // an ExcludeKey that is neither FILE, PATH nor REG
  kUnknownRegistryRoot,  // a registry path that does not start with HKCU, HKLM, HKU or HKCR
  kBadValue,             // a LangSecRef, DetectOS, SpecialDetect or Running that says nothing known
  // The key is refused by the guards: it could reach what no cleaner may touch.
  kDotSegment,            // a folder part Windows would change: ".", "..", or ending in a dot
  kProtectedFolder,       // RECURSE, REMOVESELF or a match-everything pattern at a protected folder
  kProtectedRegistryKey,  // a registry key the system or every program relies on
  kPlaceRefused,          // the run's guard refused a folder the key names
  kExclusionUnread,       // an ExcludeKey of the entry was skipped: what it spares is unknown
};

// A name for the issue that stays the same in every language, for machine-read reports.
std::string_view IssueId(Issue issue);
// Whether the issue is a refusal of the guards rather than a key that could not be read.
bool IsRefusal(Issue issue);

// A key that is not used, and why.
struct KeyNote {
  std::string key;    // as written before '=', "FileKey3"; the whole line for a line with none
  std::string value;  // as written after '='
  Issue issue = Issue::kUnknownKey;
  std::string detail;  // for a refusal of a folder: the folder and the check's reason
};

struct RegistryPath {
  platform::RegistryRoot root = platform::RegistryRoot::kCurrentUser;
  std::string path;  // below the root, parts separated by one backslash; empty for the root
};

enum class Recursion {
  kNone,        // the matching files directly in the folder
  kRecurse,     // ... and in every folder below it
  kRemoveSelf,  // as kRecurse, then every folder left empty, the folder itself included
};

struct FileKey {
  std::string name;    // "FileKey3"
  std::string value;   // as written
  std::string folder;  // with its variables, '\' as separator, no final backslash
  std::vector<std::string> patterns;
  Recursion recursion = Recursion::kNone;
};

enum class ExcludeKind {
  kFile,      // the named files directly in the folder
  kPath,      // the files matching a pattern in the folder and below it; without one, all of it
  kRegistry,  // a registry key with all below it
};

struct ExcludeKey {
  std::string name;
  std::string value;
  ExcludeKind kind = ExcludeKind::kFile;
  std::string folder;  // kFile and kPath, as FileKey::folder
  // kFile: the names; kPath: the patterns, none meaning everything below the folder.
  std::vector<std::string> names;
  RegistryPath key;  // kRegistry
};

struct RegKey {
  std::string name;
  std::string value;
  RegistryPath key;
  std::optional<std::string> valueName;  // a single value; without one, the key with all below it
};

enum class SpecialDetect { kChrome, kMozilla, kOpera, kThunderbird, kWindows };

// Windows versions from and to, both included; a missing end is open.
struct OsRange {
  std::optional<platform::WindowsVersion> from;
  std::optional<platform::WindowsVersion> to;
};

struct Entry {
  std::string name;  // the section's name, which also names the entry in data\cleaners.dat
  std::string file;  // the rule file it was read from
  int langSecRef = 0;
  std::string section;
  std::string warning;  // shown when the user ticks the entry
  std::vector<RegistryPath> detect;
  std::vector<std::string> detectFiles;  // with their variables
  std::optional<OsRange> detectOs;
  std::vector<SpecialDetect> specialDetect;
  std::vector<FileKey> fileKeys;
  std::vector<ExcludeKey> excludeKeys;
  std::vector<RegKey> regKeys;
  std::vector<std::string> running;  // program files (no folder): one running leaves it alone
  std::size_t keysRead = 0;
  std::vector<KeyNote> skipped;  // in the order of the file
};

struct RuleFile {
  std::string name;              // of the file, as the entries' `file`
  std::vector<Entry> entries;    // in the order of the file
  std::vector<KeyNote> outside;  // lines before the first section that are no comment
};

// Reads a rule file's bytes: UTF-8 with or without byte-order mark, lines ending in CR LF or LF,
// ';' starting a comment line; names of keys, flags, kinds and roots in any letter case.
RuleFile ParseRuleFile(std::string_view bytes, std::string_view fileName);

// The group the entry is shown under: its Section, else the name its LangSecRef stands for,
// else "Other".
std::string Group(const Entry& entry);

// An entry's name as the user sees it: without the " *" that rule files end names with.
std::string ShownName(std::string_view entryName);

// A registry path as rule files write it ("HKCU\Software\App", also HKEY_CURRENT_USER ...);
// nothing for an unknown root.
std::optional<RegistryPath> ParseRegistryPath(std::string_view text);
std::string FormatRegistryPath(const RegistryPath& key);

}  // namespace cleaners
