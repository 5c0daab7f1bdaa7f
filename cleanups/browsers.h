// Today's browsers: where each keeps its profiles, which of their folders are disposable caches
// and which files hold the cookies. Nothing else in a profile is ever touched: history,
// bookmarks, passwords, keys and settings live beside these.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace cleanups {

enum class BrowserKind {
  kChromium,  // the profiles are the subfolders of the user-data folder that Local State lists,
              // or that have a profile's name and hold `Preferences`
  kOpera,     // the user-data folder is the profile; its disk caches have a local twin
  kFirefox,   // profiles named in profiles.ini or lying in Profiles; disk caches in a local twin
};

struct Browser {
  std::string_view name;         // as the report names it
  int base;                      // the shell folder (CSIDL) the user-data folder lies in
  std::string_view userData;     // below that shell folder
  std::string_view programFile;  // a process of this file keeps the browser's stores open
  BrowserKind kind;
};

namespace browser_table {
using enum BrowserKind;
inline constexpr int kLocal = platform::csidl::kLocalAppData;
inline constexpr int kRoaming = platform::csidl::kAppData;
// Several channels share a program file: one of them running leaves all of them alone.
inline constexpr std::array kBrowsers = {
    Browser{"Google Chrome", kLocal, "Google\\Chrome\\User Data", "chrome.exe", kChromium},
    Browser{"Google Chrome Beta", kLocal, "Google\\Chrome Beta\\User Data", "chrome.exe",
            kChromium},
    Browser{"Google Chrome Dev", kLocal, "Google\\Chrome Dev\\User Data", "chrome.exe", kChromium},
    Browser{"Google Chrome Canary", kLocal, "Google\\Chrome SxS\\User Data", "chrome.exe",
            kChromium},
    Browser{"Chromium", kLocal, "Chromium\\User Data", "chrome.exe", kChromium},
    Browser{"Microsoft Edge", kLocal, "Microsoft\\Edge\\User Data", "msedge.exe", kChromium},
    Browser{"Microsoft Edge Beta", kLocal, "Microsoft\\Edge Beta\\User Data", "msedge.exe",
            kChromium},
    Browser{"Microsoft Edge Dev", kLocal, "Microsoft\\Edge Dev\\User Data", "msedge.exe",
            kChromium},
    Browser{"Microsoft Edge Canary", kLocal, "Microsoft\\Edge SxS\\User Data", "msedge.exe",
            kChromium},
    Browser{"Brave", kLocal, "BraveSoftware\\Brave-Browser\\User Data", "brave.exe", kChromium},
    Browser{"Vivaldi", kLocal, "Vivaldi\\User Data", "vivaldi.exe", kChromium},
    Browser{"Opera", kRoaming, "Opera Software\\Opera Stable", "opera.exe", kOpera},
    Browser{"Opera GX", kRoaming, "Opera Software\\Opera GX Stable", "opera.exe", kOpera},
    Browser{"Mozilla Firefox", kRoaming, "Mozilla\\Firefox", "firefox.exe", kFirefox},
};
}  // namespace browser_table
using browser_table::kBrowsers;

// A folder and the names of the entries in it that a clean-up takes: the subfolders it empties
// or the files it deletes. Names are compared as Windows compares them. `home` is the browser's
// folder the place must lie in, no link on the way (empty: the folder itself is the home of
// what is taken in it).
struct NamedPlace {
  std::string folder;
  std::span<const std::string_view> names;
  std::string home;
};

struct BrowserPlaces {
  bool found = false;  // at least one profile is there
  std::vector<NamedPlace> caches;
  std::vector<NamedPlace> cookies;
};

// Where the browser's caches and cookies are on this system. Only reads: listings, look-ups,
// profiles.ini and Local State. A profile folder that is a link, that names a drive root, or
// that lacks the browser's own marks, is no profile.
BrowserPlaces FindBrowserPlaces(platform::System& system, const Browser& browser);

}  // namespace cleanups
