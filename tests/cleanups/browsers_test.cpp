// Today's browsers on the sim: every place of theirs a user keeps, beside the caches and cookie
// files that go.
#include <map>
#include <set>
#include <span>

#include "lang/quantities.h"
#include "tests/cleanups/cleanups_harness.h"

namespace testing_cleanups {
namespace {

using Names = std::span<const char* const>;

const std::string kLocal = "C:\\Users\\me\\AppData\\Local";
const std::string kRoaming = "C:\\Users\\me\\AppData\\Roaming";

// The files a user keeps, and a file in each folder kept.
constexpr const char* kChromiumKept[] = {
    "History",          "Bookmarks",     "Login Data",         "Login Data For Account",
    "Web Data",         "Preferences",   "Secure Preferences", "Favicons",
    "Top Sites",        "Shortcuts",     "Sync Data\\x",       "Extensions\\x",
    "Local Storage\\x", "IndexedDB\\x",  "Session Storage\\x", "Service Worker\\CacheStorage\\x",
    "File System\\x",   "Network\\Trust"};
constexpr const char* kChromiumCaches[] = {
    "Cache\\Cache_Data\\x", "Code Cache\\js\\x",    "GPUCache\\x",        "media cache\\x",
    "DawnCache\\x",         "DawnGraphiteCache\\x", "DawnWebGPUCache\\x", "ShaderCache\\x"};
constexpr const char* kChromiumCookies[] = {"Network\\Cookies",  "Network\\Cookies-journal",
                                            "Cookies",           "Cookies-journal",
                                            "Extension Cookies", "Extension Cookies-journal"};
constexpr const char* kUserDataKept[] = {"Local State", "Guest Profile\\Cache\\x"};
constexpr const char* kUserDataCaches[] = {"ShaderCache\\x", "GrShaderCache\\x",
                                           "GraphiteDawnCache\\x"};
constexpr const char* kFirefoxKept[] = {"places.sqlite",
                                        "favicons.sqlite",
                                        "key4.db",
                                        "logins.json",
                                        "cert9.db",
                                        "permissions.sqlite",
                                        "prefs.js",
                                        "extensions\\x",
                                        "storage\\default\\x",
                                        "sessionstore.jsonlz4"};
constexpr const char* kFirefoxCaches[] = {"cache2\\entries\\x", "startupCache\\x",
                                          "jumpListCache\\x", "thumbnails\\x"};
constexpr const char* kFirefoxCookies[] = {"cookies.sqlite", "cookies.sqlite-wal",
                                           "cookies.sqlite-shm"};
// Look-alikes outside the browsers' places on C:, and the target of links into them.
constexpr const char* kDecoys[] = {
    "cookies.sqlite",          "Users\\me\\AppData\\Local\\Other\\cookies.sqlite",
    "Outside\\Preferences",    "Users\\me\\AppData\\Local\\Other\\Cache\\x",
    "Outside\\Cookies",        "Users\\me\\AppData\\Local\\Acme\\User Data\\Default\\Preferences",
    "Outside\\cookies.sqlite", "Users\\me\\AppData\\Local\\Acme\\User Data\\Default\\Cache\\x",
    "Outside\\GPUCache\\x"};

class BrowsersTest : public CleanupsTest {
 protected:
  // Each file holds its own path. What goes counts towards the report line `freedBy`; the
  // cache folders it lies in (the first part of its name) must be left empty.
  void Seed(const std::string& folder, Names names, const std::string& freedBy = {}) {
    for (const char* name : names) {
      const std::string path = folder + "\\" + name;
      sim.AddFile(path, path);
      (freedBy.empty() ? kept : gone).insert(path);
      freed[freedBy] += path.size();
      if (freedBy.ends_with("cache removed")) {
        caches.insert(path.substr(0, path.find('\\', folder.size() + 1)));
      }
    }
  }
  // A profile whose first `caches` caches and cookies go, or nothing of it for `browser` empty.
  void Chromium(const std::string& profile, const std::string& browser, std::size_t caches = 7) {
    Seed(profile, kChromiumKept);
    Seed(profile, std::span(kChromiumCaches).first(caches), Goes(browser, "cache removed"));
    Seed(profile, kChromiumCookies, Goes(browser, "cookies removed"));
  }
  void Firefox(const std::string& profile, const std::string& local) {
    Seed(profile, kFirefoxKept);
    Seed(local, kFirefoxCaches, "Mozilla Firefox: cache removed");
    Seed(profile, kFirefoxCookies, "Mozilla Firefox: cookies removed");
  }
  static std::string Goes(const std::string& browser, const std::string& what) {
    return browser.empty() ? "" : browser + ": " + what;
  }
  std::string Line(const std::string& start) {
    return start + ", " + lang::FormatSize(freed[start], test.texts);
  }

  std::map<std::string, std::uint64_t> freed;
  std::set<std::string> kept, gone, caches;
};

TEST_F(BrowsersTest, OnlyTheNamedCachesAndCookiesGoAndARunningBrowserStaysWhole) {
  sim.SetSpecialFolder(platform::csidl::kLocalAppData, kLocal);
  sim.SetSpecialFolder(platform::csidl::kAppData, kRoaming);
  test.texts[lang::Text::kBrowserCacheRemoved] = "%1: cache removed, %2";
  test.texts[lang::Text::kBrowserCookiesRemoved] = "%1: cookies removed, %2";
  test.texts[lang::Text::kBrowserRunning] = "%1 is running";
  test.texts.SetCode("En");
  const std::string chrome = kLocal + "\\Google\\Chrome\\User Data";
  Chromium(chrome + "\\Default", "Google Chrome");
  Chromium(chrome + "\\Profile 2", "Google Chrome", 6);
  Seed(chrome, kUserDataKept);
  Seed(chrome, kUserDataCaches, "Google Chrome: cache removed");
  Chromium(kLocal + "\\Microsoft\\Edge\\User Data\\Default", "");
  const std::string opera = kRoaming + "\\Opera Software\\Opera Stable";
  Seed(opera, kChromiumKept);
  Seed(opera, kChromiumCaches, "Opera: cache removed");
  Seed(opera, kChromiumCookies, "Opera: cookies removed");
  Seed(kLocal + "\\Opera Software\\Opera Stable", kChromiumCaches, "Opera: cache removed");
  const std::string firefox = kRoaming + "\\Mozilla\\Firefox";
  Firefox(firefox + "\\Profiles\\k3x9.default-release",
          kLocal + "\\Mozilla\\Firefox\\Profiles\\k3x9.default-release");
  Firefox("D:\\Work Profile", "D:\\Work Profile");
  sim.AddFile(firefox + "\\profiles.ini",
              "[Install308046B0]\r\nDefault=Profiles/k3x9.default-release\r\n\r\n"
              "[Profile1]\nIsRelative=0\nPath=D:\\Work Profile\\\n"
              "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/k3x9.default-release\r\n"
              "[Profile2]\r\nIsRelative=1\r\nPath=../../../Local/Other\r\n"
              "[Profile3]\r\nIsRelative=0\r\nPath=C:\\\r\n");
  Seed("C:", kDecoys);
  // A profile, a cache and a Firefox profile that are links, and a link inside a cache.
  sim.AddFolderLink(chrome + "\\Profile 9", "C:\\Outside");
  sim.AddFolderLink(chrome + "\\Profile 2\\DawnWebGPUCache", "C:\\Outside");
  sim.AddFolderLink(firefox + "\\Profiles\\linked", "C:\\Outside");
  sim.AddFolderLink(chrome + "\\Default\\Code Cache\\wasm", "C:\\Outside");
  const std::string before = sim.Dump();

  // Edge closes between the two steps: found running once, it stays alone for the whole run.
  sim.SetRunning("MSEDGE.EXE");
  cleanups.TemporaryInternetFiles();
  sim.SetRunning("msedge.exe", false);
  cleanups.Cookies();
  for (const std::string& cache : caches) {
    EXPECT_TRUE(sim.Exists(cache)) << cache;
    EXPECT_EQ(sim.Dump(cache), "") << cache;
  }
  for (const std::string& path : gone)
    EXPECT_FALSE(sim.Exists(path)) << path;
  for (const std::string& path : kept)
    EXPECT_EQ(sim.Content(path), path);
  // Every other entry, folders and links too, is there as before.
  const std::string after = sim.Dump();
  std::size_t start = 0;
  for (std::size_t end; (end = before.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = before.substr(start, end - start);
    const std::string path = line.substr(0, std::min(line.find(" ("), line.find(" -> ")));
    bool goes = gone.count(path) != 0;
    for (const std::string& cache : caches)
      goes = goes || path.starts_with(cache + "\\");
    EXPECT_TRUE(goes || after.find(line + "\n") != std::string::npos) << line;
  }
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            Line("Google Chrome: cache removed"), "Microsoft Edge is running",
                            Line("Opera: cache removed"), Line("Mozilla Firefox: cache removed"),
                            Line("Google Chrome: cookies removed"), Line("Opera: cookies removed"),
                            Line("Mozilla Firefox: cookies removed")}));
  freed.erase("");
  std::uint64_t total = 0;
  for (const auto& [line, bytes] : freed)
    total += bytes;
  EXPECT_EQ(state.freedBytes, static_cast<std::int64_t>(total));
}

}  // namespace
}  // namespace testing_cleanups
