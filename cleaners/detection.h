// Whether an entry applies to this computer. Only reads: registry keys, files and folders.
//
// An entry applies when any of its Detect, DetectFile and SpecialDetect keys holds, or when it
// has none of them; a DetectOS key must hold besides.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cleaners/places.h"
#include "cleaners/rule_file.h"
#include "platform/system.h"

namespace cleaners {

// The key in the other view of the registry, where one differs: a 32-bit program's
// HKLM\Software\X is HKLM\Software\WOW6432Node\X to a 64-bit one.
std::optional<RegistryPath> Wow64Twin(const RegistryPath& key);

class Detector {
 public:
  // Keeps the listings it makes: many entries look into the same folders. Make a new one when
  // the folders may have changed.
  Detector(platform::System& system, const Places& places);

  bool Applies(const Entry& entry);

 private:
  // What a folder holds: the names of its entries, each with whether it is a folder. One
  // listing answers every entry that looks into the folder.
  struct Listing {
    bool listed = false;
    std::vector<std::pair<std::string, bool>> entries;
    std::unordered_map<std::string, std::size_t> byName;  // folded name, index in entries
  };

  bool KeyExists(const RegistryPath& key);
  // Whether the file or folder exists, found part by part through listings.
  bool FileExists(const std::string& path);
  bool Matches(const std::string& folder, const SplitPath& path, std::size_t next);
  const Listing& ListingOf(const std::string& folder);

  platform::System& system_;
  const Places& places_;
  std::optional<platform::WindowsVersion> version_;
  bool versionAsked_ = false;
  std::unordered_map<std::string, Listing> listings_;  // by the folder's folded path
};

}  // namespace cleaners
