#include "cleanups/paths.h"

namespace cleanups {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if ((text[i] | 0x20) != (prefix[i] | 0x20)) return false;
  }
  return true;
}

}  // namespace

std::size_t DrivePartLength(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && IsLetter(path[0])) return 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t server = 2;
    while (server < path.size() && !IsSeparator(path[server]))
      ++server;
    std::size_t share = server + 1;
    while (share < path.size() && !IsSeparator(path[share]))
      ++share;
    return share < path.size() ? share : path.size();
  }
  return 0;
}

bool IsDriveRoot(std::string_view path) {
  std::string unc;
  if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
      (path[2] == '?' || path[2] == '.') && IsSeparator(path[3])) {
    // \\?\C:\ is C:\, and \\?\UNC\server\share\ is \\server\share\.
    const std::string_view rest = path.substr(4);
    if (StartsWithNoCase(rest, "UNC") && rest.size() > 3 && IsSeparator(rest[3])) {
      unc = "\\\\" + std::string(rest.substr(4));
      path = unc;
    } else if (DrivePartLength(rest) == 2) {
      path = rest;
    }
  }
  if (path.empty()) return false;
  return path.find_first_not_of("\\/", DrivePartLength(path)) == std::string_view::npos;
}

bool IsAbsolutePath(std::string_view path) {
  const std::size_t drive = DrivePartLength(path);
  if (drive == 2) return path.size() > 2 && IsSeparator(path[2]);
  // A server and a share, both named.
  const std::size_t server = path.find_first_of("\\/", 2);
  return drive > 2 && server != std::string_view::npos && server > 2 && server + 1 < drive;
}

std::string Under(std::string_view folder, std::string_view tail) {
  if (folder.empty()) return {};
  std::string path(folder);
  if (!IsSeparator(path.back())) path += '\\';
  while (!tail.empty() && IsSeparator(tail.front()))
    tail.remove_prefix(1);
  path += tail;
  return path;
}

std::string WithBackslash(std::string_view path) {
  std::string folder(path);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace cleanups
