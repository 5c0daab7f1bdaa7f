#include "cleaners/variables.h"

#include <array>
#include <optional>

#include "cleanups/paths.h"
#include "platform/wildcard.h"

namespace cleaners {

namespace {

namespace csidl = platform::csidl;

enum class Source { kShellFolder, kBothShellFolders, kWindows, kSystemDrive, kTemp, kUserName };

struct Variable {
  std::string_view name;
  Source source;
  int first = 0;  // CSIDL values
  int second = 0;
};

// The variables Windows defines that name a folder or a part of a path. Rule files also use
// names of other cleaners' own (%Documents%, %LocalLowAppData%): those are unknown here.
constexpr std::array kVariables = {
    Variable{"LocalAppData", Source::kShellFolder, csidl::kLocalAppData},
    Variable{"AppData", Source::kShellFolder, csidl::kAppData},
    Variable{"ProgramData", Source::kShellFolder, csidl::kCommonAppData},
    Variable{"AllUsersProfile", Source::kShellFolder, csidl::kCommonAppData},
    Variable{"UserProfile", Source::kShellFolder, csidl::kProfile},
    Variable{"WinDir", Source::kWindows},
    Variable{"SystemRoot", Source::kWindows},
    Variable{"SystemDrive", Source::kSystemDrive},
    Variable{"ProgramFiles", Source::kBothShellFolders, csidl::kProgramFiles,
             csidl::kProgramFilesX86},
    Variable{"ProgramFiles(x86)", Source::kShellFolder, csidl::kProgramFilesX86},
    Variable{"ProgramW6432", Source::kShellFolder, csidl::kProgramFiles},
    Variable{"CommonProgramFiles", Source::kBothShellFolders, csidl::kCommonProgramFiles,
             csidl::kCommonProgramFilesX86},
    Variable{"CommonProgramFiles(x86)", Source::kShellFolder, csidl::kCommonProgramFilesX86},
    Variable{"CommonProgramW6432", Source::kShellFolder, csidl::kCommonProgramFiles},
    Variable{"Public", Source::kShellFolder, csidl::kPublic},
    Variable{"Temp", Source::kTemp},
    Variable{"Tmp", Source::kTemp},
    Variable{"UserName", Source::kUserName},
};

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  }
  return true;
}

std::optional<std::size_t> IndexOf(std::string_view name) {
  for (std::size_t i = 0; i < kVariables.size(); ++i) {
    if (SameAscii(kVariables[i].name, name)) return i;
  }
  return std::nullopt;
}

// A piece of a text: plain text, or a reference to the variable of this index.
struct Piece {
  std::string_view text;
  std::optional<std::size_t> variable;
};

// Splits the text at its %Name% references; false when one names no known variable.
bool Pieces(std::string_view text, std::vector<Piece>* pieces) {
  while (!text.empty()) {
    const std::size_t open = text.find('%');
    const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      if (pieces) pieces->push_back({text, std::nullopt});
      return true;
    }
    const std::optional<std::size_t> index = IndexOf(text.substr(open + 1, close - open - 1));
    if (!index) return false;
    if (pieces) {
      if (open > 0) pieces->push_back({text.substr(0, open), std::nullopt});
      pieces->push_back({{}, index});
    }
    text.remove_prefix(close + 1);
  }
  return true;
}

// A folder as the system gave it, without its final backslash; empty when it is no full path
// (that would put the rule's folder below the current one).
std::string FolderValue(std::string path) {
  while (path.size() > 2 && (path.back() == '\\' || path.back() == '/'))
    path.pop_back();
  if (path.size() == 2 && path[1] == ':') return path;
  return cleanups::IsAbsolutePath(path) ? path : std::string();
}

// The path with each existing part under its stored name: GetTempPath may give 8.3 names, and
// the guards compare paths as written.
std::string LongForm(platform::System& system, const std::string& path) {
  const std::size_t drive = cleanups::DrivePartLength(path);
  std::string result = path.substr(0, drive);
  std::string_view rest = std::string_view(path).substr(drive);
  while (!rest.empty() && rest.front() == '\\') {
    rest.remove_prefix(1);
    const std::size_t cut = std::min(rest.find('\\'), rest.size());
    const std::optional<platform::DirEntry> entry =
        system.LookUp(result + '\\' + std::string(rest.substr(0, cut)));
    if (!entry) return result + '\\' + std::string(rest);
    result += '\\' + entry->name;
    rest.remove_prefix(cut);
  }
  return result;
}

}  // namespace

Variables::Variables(platform::System& system) : values_(kVariables.size()) {
  const std::string windows = FolderValue(system.WindowsFolder());
  for (std::size_t i = 0; i < kVariables.size(); ++i) {
    const Variable& variable = kVariables[i];
    std::vector<std::string> candidates;
    switch (variable.source) {
      case Source::kBothShellFolders:
        candidates.push_back(FolderValue(system.SpecialFolder(variable.second)));
        [[fallthrough]];
      case Source::kShellFolder:
        candidates.insert(candidates.begin(), FolderValue(system.SpecialFolder(variable.first)));
        break;
      case Source::kWindows:
        candidates.push_back(windows);
        break;
      case Source::kSystemDrive:
        if (cleanups::DrivePartLength(windows) == 2) candidates.push_back(windows.substr(0, 2));
        break;
      case Source::kTemp: {
        // Without TMP and TEMP Windows names the profile or its own folder instead: no temporary
        // folder at all.
        if (!system.EnvironmentVariable("TMP") && !system.EnvironmentVariable("TEMP")) break;
        const std::string temp = FolderValue(system.TempFolder());
        if (!temp.empty()) candidates.push_back(LongForm(system, temp));
        break;
      }
      case Source::kUserName: {
        // A name only, never a way up or across folders.
        const std::string name = system.EnvironmentVariable("USERNAME").value_or("");
        if (name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos) {
          candidates.push_back(name);
        }
        break;
      }
    }
    for (std::string& candidate : candidates) {
      bool known = candidate.empty();
      for (const std::string& value : values_[i])
        known = known || platform::SameName(value, candidate);
      if (!known) values_[i].push_back(std::move(candidate));
    }
  }
}

bool Variables::OnlyKnown(std::string_view text) {
  return Pieces(text, nullptr);
}

std::vector<Expansion> Variables::Expand(std::string_view text) const {
  std::vector<Piece> pieces;
  if (!Pieces(text, &pieces)) return {};
  std::vector<Expansion> expansions(1);
  for (const Piece& piece : pieces) {
    if (!piece.variable) {
      for (Expansion& expansion : expansions)
        expansion.text += piece.text;
      continue;
    }
    const std::vector<std::string>& values = values_[*piece.variable];
    std::vector<Expansion> next;
    for (const Expansion& expansion : expansions) {
      for (const std::string& value : values) {
        Expansion longer{expansion.text + value, expansion.baseLength};
        if (expansion.text.empty()) longer.baseLength = value.size();
        next.push_back(std::move(longer));
      }
    }
    expansions = std::move(next);
  }
  std::vector<Expansion> unique;
  for (Expansion& expansion : expansions) {
    if (!pieces.empty() && !pieces.front().variable) {
      expansion.baseLength = cleanups::DrivePartLength(expansion.text);
    }
    bool known = false;
    for (const Expansion& kept : unique)
      known = known || platform::SameName(kept.text, expansion.text);
    if (!known) unique.push_back(std::move(expansion));
  }
  return unique;
}

}  // namespace cleaners
