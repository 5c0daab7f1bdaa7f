#include "settings/list_file.h"

#include "platform/text_lines.h"

namespace settings {

std::string FormatListFile(const std::vector<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) {
    bytes += entry;
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> ParseListFile(std::string_view bytes) {
  std::vector<std::string> entries = platform::SplitTextLines(bytes);
  for (std::string& entry : entries)
    entry = WithoutTrailingBlanks(entry);
  return entries;
}

std::string WithoutTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(" \t");
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::string LowerAsciiLetters(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::vector<std::string> ExceptionListLowerOf(const std::vector<std::string>& exceptions) {
  std::vector<std::string> lower;
  lower.reserve(exceptions.size());
  for (const std::string& entry : exceptions)
    lower.push_back(LowerAsciiLetters(entry));
  return lower;
}

}  // namespace settings
