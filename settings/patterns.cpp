#include "settings/patterns.h"

#include <optional>

#include "platform/wildcard.h"
#include "settings/list_file.h"

namespace settings {

namespace {

// A name the pattern's part before its last dot would take: every wildcard stands for one "x".
std::string StemExample(std::string_view pattern) {
  std::string stem;
  for (char c : pattern.substr(0, pattern.rfind('.'))) {
    if (c == '*' || c == '?' || c == '<' || c == '>')
      stem += 'x';
    else if (c != '"')
      stem += c;
  }
  return stem;
}

// Files no junk pattern may take: names without an extension (keys, build and licence files,
// hosts, git's HEAD and config), the dot-files that configure tools, and the types that make
// Windows and its programs run.
constexpr std::string_view kNeverJunk[] = {
    "x",          "id_rsa",     "id_ed25519",  "known_hosts", "authorized_keys", "Makefile",
    "Dockerfile", "README",     "LICENSE",     "COPYING",     "hosts",           "HEAD",
    "ORIG_HEAD",  "config",     "bootmgr",     ".gitignore",  ".bashrc",         ".profile",
    ".env",       "ntuser.dat", "desktop.ini", "x.exe",       "x.dll",           "x.sys",
    "x.bat",      "x.cmd",      "x.com",       "x.ini",       "x.dat",           "x.cpl",
    "x.msi",      "x.drv",      "x.ocx",       "x.efi",       "x.reg",           "x.ps1",
    "x.vbs",      "x.scr",      "x.lnk",       "x.inf",       "x.cat",           "x.mui",
    "x.manifest", "x.config",
};

// Files that are the user's work: a pattern taking them may be meant, but is asked about.
constexpr std::string_view kDocuments[] = {
    "x.docx", "x.doc",  "x.pdf", "x.jpg", "x.jpeg", "x.png",  "x.gif", "x.heic", "x.tif",
    "x.bmp",  "x.xlsx", "x.xls", "x.csv", "x.pptx", "x.ppt",  "x.odt", "x.ods",  "x.odp",
    "x.rtf",  "x.txt",  "x.md",  "x.mp3", "x.wav",  "x.flac", "x.mp4", "x.mov",  "x.mkv",
    "x.avi",  "x.zip",  "x.7z",  "x.rar", "x.psd",  "x.pst",  "x.eml", "x.epub", "x.html",
    "x.json", "x.xml",  "x.svg", "x.cpp", "x.py",   "x.java",
};

// A name of this probe's kind that the pattern takes, if any. Each probe is tried as it stands,
// which catches the broad patterns (*.e*, *.?ll, *..), and with its "x" replaced by the pattern's
// own stem, which catches narrow ones that still end in such a type or in no type (setup*.exe,
// READ*.).
template <std::size_t N>
std::optional<std::string> Taken(std::string_view text, const std::string_view (&probes)[N]) {
  const platform::WildcardPattern pattern(text);
  const std::string stem = StemExample(text);
  for (const std::string_view probe : probes) {
    if (pattern.Matches(probe)) return std::string(probe);
    if (probe == "x" || probe.starts_with("x.")) {
      const std::string named = stem + std::string(probe.substr(1));
      if (!stem.empty() && pattern.Matches(named)) return named;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> BuildProtectedPatterns() {
  return {"*.exe", "*.*", "*.sys", "*.bat", "*.dll", "*.dat", "*.ini", "*.cpl"};
}

bool HoldsFolderSeparator(std::string_view text) {
  return text.find_first_of("\\/:") != std::string_view::npos;
}

bool IsValidPattern(std::string_view text) {
  return text.size() >= 3 && text.substr(1, text.size() - 2).find('.') != std::string_view::npos;
}

bool IsAcceptablePattern(std::string_view text, const std::vector<std::string>& protectedPatterns) {
  if (!IsValidPattern(text) || HoldsFolderSeparator(text)) return false;
  const std::string lower = LowerAsciiLetters(text);
  for (const std::string& guarded : protectedPatterns) {
    if (lower == LowerAsciiLetters(guarded)) return false;
  }
  return !Taken(text, kNeverJunk);
}

std::optional<std::string> DocumentTakenBy(std::string_view pattern) {
  return Taken(pattern, kDocuments);
}

std::vector<std::string> UsablePatterns(const std::vector<std::string>& patterns,
                                        const std::vector<std::string>& protectedPatterns) {
  std::vector<std::string> usable;
  for (const std::string& pattern : patterns) {
    if (IsAcceptablePattern(pattern, protectedPatterns)) usable.push_back(pattern);
  }
  return usable;
}

}  // namespace settings
