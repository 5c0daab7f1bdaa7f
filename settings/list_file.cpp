#include "settings/list_file.h"

namespace settings {

std::string FormatListFile(const std::vector<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) {
    bytes += entry;
    bytes += "\r\n";
  }
  return bytes;
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
