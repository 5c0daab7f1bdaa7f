#include "settings/age_rules.h"

#include <charconv>

#include "platform/text_lines.h"
#include "settings/list_file.h"

namespace settings {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

// A whole number from `low` to `high`, digits only.
bool ReadNumber(std::string_view text, int low, int high, int& into) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    return false;
  }
  into = value;
  return true;
}

}  // namespace

ParsedAgeRules ParseAgeRules(std::string_view bytes) {
  ParsedAgeRules parsed;
  const std::vector<std::string> lines = platform::SplitTextLines(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = Trimmed(lines[i]);
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    bool read = false;
    if (equals != std::string_view::npos) {
      const std::string key = LowerAsciiLetters(Trimmed(line.substr(0, equals)));
      const std::string_view value = Trimmed(line.substr(equals + 1));
      if (key == "tempkeephours")
        read = ReadNumber(value, 0, kMaxTempKeepHours, parsed.rules.TempKeepHours);
      else if (key == "downloadsdays")
        read = ReadNumber(value, 1, kMaxAgeDays, parsed.rules.DownloadsDays);
      else if (key == "recyclebindays")
        read = ReadNumber(value, 0, kMaxAgeDays, parsed.rules.RecycleBinDays);
    }
    if (!read) parsed.badLines.push_back(static_cast<int>(i + 1));
  }
  return parsed;
}

std::string FormatAgeRules(const AgeRules& rules) {
  return "TempKeepHours=" + std::to_string(rules.TempKeepHours) +
         "\r\nDownloadsDays=" + std::to_string(rules.DownloadsDays) +
         "\r\nRecycleBinDays=" + std::to_string(rules.RecycleBinDays) + "\r\n";
}

}  // namespace settings
