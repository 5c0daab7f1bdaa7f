#include "settings/exceptions.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/utf.h"
#include "settings/patterns.h"

namespace settings {

namespace {

constexpr std::string_view kWildcards = "*?<>\"";

// Upper-cased as Windows compares names into `out`, reusing the buffers; a text that is no valid
// UTF-8 stays as it is, and so equals only itself.
void FoldInto(std::string_view text, std::u16string& units, std::string& out) {
  if (!platform::Utf8ToUtf16(text, units)) {
    out.assign(text);
    return;
  }
  for (char16_t& unit : units)
    unit = platform::UpcaseChar(unit);
  out = platform::Utf16ToUtf8(units);
}

std::string Folded(std::string_view text) {
  std::u16string units;
  std::string out;
  FoldInto(text, units, out);
  return out;
}

// "D:\..." or "\\server\share\...", with either slash.
bool IsAbsolutePath(std::string_view text) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  const bool drive = text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) &&
                     text[1] == ':' && separator(text[2]);
  const bool server =
      text.size() >= 3 && separator(text[0]) && separator(text[1]) && !separator(text[2]);
  return drive || server;
}

// The folded path with backslashes only, ending in exactly one.
std::string PathKey(std::string_view path) {
  std::string key = Folded(path);
  std::replace(key.begin(), key.end(), '/', '\\');
  while (!key.empty() && key.back() == '\\')
    key.pop_back();
  return key + '\\';
}

}  // namespace

bool IsAcceptableException(std::string_view text) {
  if (IsAbsolutePath(text)) return text.find_first_of(kWildcards) == std::string_view::npos;
  // A leading dot is allowed: ".gitkeep" is a whole file name, and the default list holds such.
  return text.size() >= 2 && text.substr(0, text.size() - 1).find('.') != std::string_view::npos &&
         !HoldsFolderSeparator(text);
}

ExceptionMatcher::ExceptionMatcher(const std::vector<std::string>& exceptions) {
  for (const std::string& entry : exceptions) {
    if (entry.empty()) continue;
    if (IsAbsolutePath(entry)) {
      paths_.push_back(PathKey(entry));
    } else if (entry.find_first_of(kWildcards) != std::string::npos) {
      patterns_.emplace_back(entry);
    } else {
      names_.insert(Folded(entry));
    }
  }
}

bool ExceptionMatcher::KeepsFile(std::string_view folder, std::string_view name) {
  if (!names_.empty()) {
    FoldInto(name, units_, folded_);
    if (names_.count(folded_) != 0) return true;
  }
  if (!patterns_.empty()) {
    foldedName_.Assign(name);
    for (const platform::WildcardPattern& pattern : patterns_) {
      if (pattern.Matches(foldedName_)) return true;
    }
  }
  return !paths_.empty() && KeepsFolder(std::string(folder) + std::string(name) + '\\');
}

bool ExceptionMatcher::KeepsFolder(std::string_view folder) {
  if (paths_.empty()) return false;
  const std::string key = PathKey(folder);
  return std::any_of(paths_.begin(), paths_.end(),
                     [&](const std::string& path) { return key.starts_with(path); });
}

}  // namespace settings
