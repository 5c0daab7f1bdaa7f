#include "cleaners/rule_file.h"

#include <array>
#include <charconv>

#include "cleaners/places.h"
#include "cleaners/variables.h"

namespace cleaners {

namespace {

using platform::RegistryRoot;

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] | 0x20) : a[i];
    const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] | 0x20) : b[i];
    if (x != y) return false;
  }
  return true;
}

// Splits at every `separator`, keeping empty parts.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t cut = text.find(separator, start);
    parts.push_back(text.substr(start, cut - start));
    if (cut == std::string_view::npos) return parts;
    start = cut + 1;
  }
}

enum class KeyName {
  kLangSecRef,
  kSection,
  kWarning,
  kDetect,
  kDetectFile,
  kDetectOs,
  kSpecialDetect,
  kFileKey,
  kExcludeKey,
  kRegKey,
  kRunning,
};

struct KnownKey {
  std::string_view name;
  KeyName key;
  bool numbered;  // may carry a number: FileKey1, Detect2
};

constexpr std::array kKnownKeys = {
    KnownKey{"LangSecRef", KeyName::kLangSecRef, false},
    KnownKey{"Section", KeyName::kSection, false},
    KnownKey{"Warning", KeyName::kWarning, false},
    KnownKey{"Detect", KeyName::kDetect, true},
    KnownKey{"DetectFile", KeyName::kDetectFile, true},
    KnownKey{"DetectOS", KeyName::kDetectOs, false},
    KnownKey{"SpecialDetect", KeyName::kSpecialDetect, true},
    KnownKey{"FileKey", KeyName::kFileKey, true},
    KnownKey{"ExcludeKey", KeyName::kExcludeKey, true},
    KnownKey{"RegKey", KeyName::kRegKey, true},
    KnownKey{"Running", KeyName::kRunning, true},
};

std::optional<KeyName> KeyNameOf(std::string_view name) {
  std::size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
    --digits;
  for (const KnownKey& known : kKnownKeys) {
    if (SameAscii(name, known.name)) return known.key;
    if (known.numbered && digits < name.size() && SameAscii(name.substr(0, digits), known.name)) {
      return known.key;
    }
  }
  return std::nullopt;
}

struct RootName {
  std::string_view shortName;
  std::string_view longName;
  RegistryRoot root;
};

constexpr std::array kRoots = {
    RootName{"HKCU", "HKEY_CURRENT_USER", RegistryRoot::kCurrentUser},
    RootName{"HKLM", "HKEY_LOCAL_MACHINE", RegistryRoot::kLocalMachine},
    RootName{"HKU", "HKEY_USERS", RegistryRoot::kUsers},
    RootName{"HKCR", "HKEY_CLASSES_ROOT", RegistryRoot::kClassesRoot},
};

// A folder as the rules keep it: '\' as separator, no final one.
std::string FolderText(std::string_view text) {
  std::string folder(Trimmed(text));
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  while (folder.size() > 1 && folder.back() == '\\')
    folder.pop_back();
  return folder;
}

// Why a folder of a key cannot be used, if it cannot: an unknown variable, no full path, or a
// "." or ".." part (a folder that climbs out of where it seems to be).
std::optional<Issue> FolderIssue(std::string_view folder) {
  if (!Variables::OnlyKnown(folder)) return Issue::kUnknownVariable;
  // A '%' with no second one is no variable: "%Package\x" stands for a relative folder.
  const bool fromVariable =
      folder.size() > 2 && folder.front() == '%' && folder.find('%', 1) != std::string_view::npos;
  const bool fromDrive = folder.size() >= 2 && folder[1] == ':' &&
                         ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') &&
                         (folder.size() == 2 || folder[2] == '\\');
  // The \\?\ and \\.\ forms name the same folders by other spellings than the guards know.
  const bool fromShare = folder.starts_with("\\\\") && !folder.starts_with("\\\\?\\") &&
                         !folder.starts_with("\\\\.\\");
  if (!fromVariable && !fromDrive && !fromShare) return Issue::kNoPlainPath;
  for (std::string_view part : Split(folder, '\\')) {
    if (IsChangedPart(part)) return Issue::kDotSegment;
  }
  return std::nullopt;
}

// The ';'-separated items of a list, trimmed, empty ones left out.
std::vector<std::string> Items(std::string_view text) {
  std::vector<std::string> items;
  for (std::string_view item : Split(text, ';')) {
    item = Trimmed(item);
    if (!item.empty()) items.emplace_back(item);
  }
  return items;
}

std::optional<Issue> PatternIssue(const std::vector<std::string>& patterns) {
  if (patterns.empty()) return Issue::kNoPattern;
  for (const std::string& pattern : patterns) {
    if (pattern.find_first_of("\\/") != std::string::npos) return Issue::kPatternWithFolder;
  }
  return std::nullopt;
}

std::optional<platform::WindowsVersion> ParseVersion(std::string_view text) {
  text = Trimmed(text);
  const std::size_t dot = text.find('.');
  const std::string_view majorText = text.substr(0, dot);
  const std::string_view minorText =
      dot == std::string_view::npos ? std::string_view("0") : text.substr(dot + 1);
  platform::WindowsVersion version;
  const auto parse = [](std::string_view digits, unsigned& number) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size() && !digits.empty();
  };
  if (!parse(majorText, version.major) || !parse(minorText, version.minor)) return std::nullopt;
  return version;
}

class Reader {
 public:
  explicit Reader(std::string_view fileName) : fileName_(fileName) { file_.name = fileName; }

  void Line(std::string_view line) {
    line = Trimmed(line);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[' && line.back() == ']') {
      Entry entry;
      entry.name = Trimmed(line.substr(1, line.size() - 2));
      entry.file = fileName_;
      file_.entries.push_back(std::move(entry));
      return;
    }
    const std::size_t equals = line.find('=');
    if (file_.entries.empty()) {
      file_.outside.push_back(equals == std::string_view::npos
                                  ? KeyNote{std::string(line), {}, Issue::kOutsideEntry, {}}
                                  : KeyNote{std::string(Trimmed(line.substr(0, equals))),
                                            std::string(Trimmed(line.substr(equals + 1))),
                                            Issue::kOutsideEntry,
                                            {}});
      return;
    }
    Entry& entry = file_.entries.back();
    if (equals == std::string_view::npos) {
      entry.skipped.push_back({std::string(line), {}, Issue::kNotAKey, {}});
      return;
    }
    const std::string_view name = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    const std::optional<Issue> issue = Key(entry, name, value);
    if (issue) {
      entry.skipped.push_back({std::string(name), std::string(value), *issue, {}});
    } else {
      ++entry.keysRead;
    }
  }

  RuleFile Take() { return std::move(file_); }

 private:
  // Reads one key into the entry; the reason when it is skipped.
  std::optional<Issue> Key(Entry& entry, std::string_view name, std::string_view value) {
    const std::optional<KeyName> key = KeyNameOf(name);
    if (!key) return Issue::kUnknownKey;
    if (value.empty()) return Issue::kEmptyValue;
    switch (*key) {
      case KeyName::kLangSecRef: {
        if (entry.langSecRef != 0) return Issue::kRepeatedKey;
        int number = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || number <= 0) {
          return Issue::kBadValue;
        }
        entry.langSecRef = number;
        return std::nullopt;
      }
      case KeyName::kSection:
        if (!entry.section.empty()) return Issue::kRepeatedKey;
        entry.section = value;
        return std::nullopt;
      case KeyName::kWarning:
        if (!entry.warning.empty()) return Issue::kRepeatedKey;
        entry.warning = value;
        return std::nullopt;
      case KeyName::kDetect: {
        // A key path only: a value (after '|') is no key to look for.
        if (value.find('|') != std::string_view::npos) return Issue::kBadValue;
        std::optional<RegistryPath> path = ParseRegistryPath(value);
        if (!path) return Issue::kUnknownRegistryRoot;
        entry.detect.push_back(std::move(*path));
        return std::nullopt;
      }
      case KeyName::kDetectFile: {
        std::string folder = FolderText(value);
        if (std::optional<Issue> issue = FolderIssue(folder)) return issue;
        entry.detectFiles.push_back(std::move(folder));
        return std::nullopt;
      }
      case KeyName::kDetectOs:
        return DetectOs(entry, value);
      case KeyName::kSpecialDetect:
        return Special(entry, value);
      case KeyName::kFileKey:
        return File(entry, name, value);
      case KeyName::kExcludeKey:
        return Exclude(entry, name, value);
      case KeyName::kRegKey:
        return Registry(entry, name, value);
      case KeyName::kRunning: {
        std::vector<std::string> programs = Items(value);
        for (const std::string& program : programs) {
          if (program.find_first_of("\\/:") != std::string::npos) return Issue::kBadValue;
        }
        if (programs.empty()) return Issue::kBadValue;
        entry.running.insert(entry.running.end(), programs.begin(), programs.end());
        return std::nullopt;
      }
    }
    return Issue::kUnknownKey;
  }

  static std::optional<Issue> DetectOs(Entry& entry, std::string_view value) {
    if (entry.detectOs) return Issue::kRepeatedKey;
    const std::vector<std::string_view> parts = Split(value, '|');
    if (parts.size() > 2) return Issue::kBadValue;
    OsRange range;
    if (parts.size() == 1) {
      range.from = range.to = ParseVersion(parts[0]);
      if (!range.from) return Issue::kBadValue;
    } else {
      if (!Trimmed(parts[0]).empty() && !(range.from = ParseVersion(parts[0]))) {
        return Issue::kBadValue;
      }
      if (!Trimmed(parts[1]).empty() && !(range.to = ParseVersion(parts[1]))) {
        return Issue::kBadValue;
      }
      if (!range.from && !range.to) return Issue::kBadValue;
    }
    entry.detectOs = range;
    return std::nullopt;
  }

  static std::optional<Issue> Special(Entry& entry, std::string_view value) {
    static constexpr std::pair<std::string_view, SpecialDetect> kSpecial[] = {
        {"DET_CHROME", SpecialDetect::kChrome},   {"DET_MOZILLA", SpecialDetect::kMozilla},
        {"DET_OPERA", SpecialDetect::kOpera},     {"DET_THUNDERBIRD", SpecialDetect::kThunderbird},
        {"DET_WINDOWS", SpecialDetect::kWindows},
    };
    for (const auto& [id, detect] : kSpecial) {
      if (SameAscii(value, id)) {
        entry.specialDetect.push_back(detect);
        return std::nullopt;
      }
    }
    return Issue::kBadValue;
  }

  static std::optional<Issue> File(Entry& entry, std::string_view name, std::string_view value) {
    const std::vector<std::string_view> parts = Split(value, '|');
    if (parts.size() < 2) return Issue::kNoBar;
    FileKey key;
    key.name = name;
    key.value = value;
    key.folder = FolderText(parts[0]);
    key.patterns = Items(parts[1]);
    if (std::optional<Issue> issue = FolderIssue(key.folder)) return issue;
    if (std::optional<Issue> issue = PatternIssue(key.patterns)) return issue;
    if (parts.size() > 3) return Issue::kUnknownFlag;
    if (parts.size() == 3) {
      const std::string_view flag = Trimmed(parts[2]);
      if (SameAscii(flag, "RECURSE")) {
        key.recursion = Recursion::kRecurse;
      } else if (SameAscii(flag, "REMOVESELF")) {
        key.recursion = Recursion::kRemoveSelf;
      } else if (!flag.empty()) {
        return Issue::kUnknownFlag;
      }
    }
    entry.fileKeys.push_back(std::move(key));
    return std::nullopt;
  }

  static std::optional<Issue> Exclude(Entry& entry, std::string_view name, std::string_view value) {
    const std::size_t bar = value.find('|');
    if (bar == std::string_view::npos) return Issue::kNoBar;
    const std::string_view kind = Trimmed(value.substr(0, bar));
    const std::string_view rest = value.substr(bar + 1);
    ExcludeKey key;
    key.name = name;
    key.value = value;
    if (SameAscii(kind, "REG")) {
      // A value named after the key spares the whole key: sparing more is the safe side.
      std::optional<RegistryPath> path = ParseRegistryPath(rest.substr(0, rest.find('|')));
      if (!path) return Issue::kUnknownRegistryRoot;
      key.kind = ExcludeKind::kRegistry;
      key.key = std::move(*path);
      entry.excludeKeys.push_back(std::move(key));
      return std::nullopt;
    }
    const bool file = SameAscii(kind, "FILE");
    if (!file && !SameAscii(kind, "PATH")) return Issue::kUnknownExcludeKind;
    key.kind = file ? ExcludeKind::kFile : ExcludeKind::kPath;
    const std::vector<std::string_view> parts = Split(rest, '|');
    if (parts.size() > 2) return Issue::kBadValue;
    if (file && parts.size() < 2) return Issue::kNoBar;
    key.folder = FolderText(parts[0]);
    if (std::optional<Issue> issue = FolderIssue(key.folder)) return issue;
    if (parts.size() == 2) {
      key.names = Items(parts[1]);
      if (std::optional<Issue> issue = PatternIssue(key.names)) return issue;
    }
    entry.excludeKeys.push_back(std::move(key));
    return std::nullopt;
  }

  static std::optional<Issue> Registry(Entry& entry, std::string_view name,
                                       std::string_view value) {
    const std::vector<std::string_view> parts = Split(value, '|');
    if (parts.size() > 2) return Issue::kBadValue;
    std::optional<RegistryPath> path = ParseRegistryPath(parts[0]);
    if (!path) return Issue::kUnknownRegistryRoot;
    RegKey key;
    key.name = name;
    key.value = value;
    key.key = std::move(*path);
    if (parts.size() == 2) {
      // "Key|" would be the key's default value; a rule that means it names it.
      if (Trimmed(parts[1]).empty()) return Issue::kBadValue;
      key.valueName = std::string(Trimmed(parts[1]));
    }
    entry.regKeys.push_back(std::move(key));
    return std::nullopt;
  }

  std::string fileName_;
  RuleFile file_;
};

}  // namespace

std::string_view IssueId(Issue issue) {
  switch (issue) {
    case Issue::kOutsideEntry:
      return "outsideEntry";
    case Issue::kNotAKey:
      return "notAKey";
    case Issue::kUnknownKey:
      return "unknownKey";
    case Issue::kRepeatedKey:
      return "repeatedKey";
    case Issue::kEmptyValue:
      return "emptyValue";
    case Issue::kNoBar:
      return "noBar";
    case Issue::kUnknownVariable:
      return "unknownVariable";
    case Issue::kNoPlainPath:
      return "noPlainPath";
    case Issue::kNoPattern:
      return "noPattern";
    case Issue::kPatternWithFolder:
      return "patternWithFolder";
    case Issue::kUnknownFlag:
      return "unknownFlag";
    case Issue::kUnknownExcludeKind:
      return "unknownExcludeKind";
    case Issue::kUnknownRegistryRoot:
      return "unknownRegistryRoot";
    case Issue::kBadValue:
      return "badValue";
    case Issue::kDotSegment:
      return "dotSegment";
    case Issue::kProtectedFolder:
      return "protectedFolder";
    case Issue::kProtectedRegistryKey:
      return "protectedRegistryKey";
    case Issue::kPlaceRefused:
      return "placeRefused";
    case Issue::kExclusionUnread:
      return "exclusionUnread";
  }
  return "?";
}

bool IsRefusal(Issue issue) {
  return issue == Issue::kDotSegment || issue == Issue::kProtectedFolder ||
         issue == Issue::kProtectedRegistryKey || issue == Issue::kPlaceRefused ||
         issue == Issue::kExclusionUnread;
}

RuleFile ParseRuleFile(std::string_view bytes, std::string_view fileName) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  Reader reader(fileName);
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string_view line = bytes.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    reader.Line(line);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return reader.Take();
}

std::string ShownName(std::string_view entryName) {
  if (entryName.size() > 2 && entryName.ends_with(" *")) entryName.remove_suffix(2);
  return std::string(entryName);
}

std::string Group(const Entry& entry) {
  if (!entry.section.empty()) return entry.section;
  static constexpr std::pair<int, std::string_view> kGroups[] = {
      {3006, "Edge"},        {3021, "Applications"},  {3022, "Internet"},
      {3023, "Multimedia"},  {3024, "Utilities"},     {3025, "Windows"},
      {3026, "Firefox"},     {3027, "Opera"},         {3029, "Google Chrome"},
      {3030, "Thunderbird"}, {3031, "Windows Store"},
  };
  for (const auto& [number, name] : kGroups) {
    if (number == entry.langSecRef) return std::string(name);
  }
  return "Other";
}

std::optional<RegistryPath> ParseRegistryPath(std::string_view text) {
  text = Trimmed(text);
  const std::size_t cut = std::min(text.find('\\'), text.size());
  const std::string_view rootName = text.substr(0, cut);
  for (const RootName& root : kRoots) {
    if (!SameAscii(rootName, root.shortName) && !SameAscii(rootName, root.longName)) continue;
    RegistryPath path{root.root, {}};
    for (std::string_view part : Split(text.substr(std::min(cut + 1, text.size())), '\\')) {
      if (part.empty()) continue;
      if (!path.path.empty()) path.path += '\\';
      path.path += part;
    }
    return path;
  }
  return std::nullopt;
}

std::string FormatRegistryPath(const RegistryPath& key) {
  std::string text;
  for (const RootName& root : kRoots) {
    if (root.root == key.root) text = root.shortName;
  }
  if (!key.path.empty()) text += '\\' + key.path;
  return text;
}

}  // namespace cleaners
