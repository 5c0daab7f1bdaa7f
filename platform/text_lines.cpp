#include "platform/text_lines.h"

namespace platform {

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

}  // namespace platform
