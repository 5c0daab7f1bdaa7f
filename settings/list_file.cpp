#include "settings/list_file.h"

namespace settings {

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  const size_t end = bytes.find('\x1A');
  if (end != std::string_view::npos) bytes = bytes.substr(0, end);
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < bytes.size()) {
    line.clear();
    while (i < bytes.size() && bytes[i] != '\n') {
      if (bytes[i] != '\r') line += bytes[i];
      ++i;
    }
    ++i;  // past the LF, or past the end
    lines.push_back(line);
  }
  return lines;
}

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
