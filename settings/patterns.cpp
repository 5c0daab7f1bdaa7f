#include "settings/patterns.h"

#include "platform/wildcard.h"
#include "settings/list_file.h"

namespace settings {

namespace {

// The extension a protected pattern such as "*.exe" stands for; empty for one like "*.*".
std::string_view ProtectedType(std::string_view pattern) {
  if (!pattern.starts_with("*.")) return {};
  const std::string_view type = pattern.substr(2);
  return type.find_first_of("*?<>\"") == std::string_view::npos ? type : std::string_view{};
}

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

// Whether the pattern takes some file of a protected type. Probing with "x.<type>" catches the
// broad extensions (*.e*, *.?ll, x.*); probing with the pattern's own stem catches narrow ones
// that still end in a protected type (setup*.exe).
bool MatchesProtectedType(std::string_view text,
                          const std::vector<std::string>& protectedPatterns) {
  const platform::WildcardPattern pattern(text);
  const std::string stem = StemExample(text);
  for (const std::string& guarded : protectedPatterns) {
    const std::string_view type = ProtectedType(guarded);
    if (type.empty()) continue;
    const std::string suffix = "." + std::string(type);
    if (pattern.Matches("x" + suffix) || pattern.Matches(stem + suffix)) return true;
  }
  return false;
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
  return !MatchesProtectedType(text, protectedPatterns);
}

bool IsAcceptableException(std::string_view text) {
  // A leading dot is allowed: ".gitkeep" is a whole file name, and the default list holds such.
  return text.size() >= 2 && text.substr(0, text.size() - 1).find('.') != std::string_view::npos &&
         !HoldsFolderSeparator(text);
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
