// Today's browsers on the sim: every place of theirs a user keeps, beside the caches and cookie
// files that go.
#include <cstring>
#include <map>
#include <set>
#include <span>

#include "lang/quantities.h"
#include "tests/cleanups/cleanups_harness.h"

namespace testing_cleanups {
namespace {

using lang::Text;
using Names = std::span<const char* const>;

const std::string kLocal = "C:\\Users\\me\\AppData\\Local";
const std::string kRoaming = "C:\\Users\\me\\AppData\\Roaming";

// A file in each folder the user keeps, and the files kept beside them.
constexpr const char* kChromiumKept[] = {"History",
                                         "Bookmarks",
                                         "Login Data",
                                         "Login Data For Account",
                                         "Web Data",
                                         "Preferences",
                                         "Secure Preferences",
                                         "Favicons",
                                         "Top Sites",
                                         "Shortcuts",
                                         "Sync Data\\LevelDB\\CURRENT",
                                         "Extensions\\ext\\manifest.json",
                                         "Local Storage\\leveldb\\000003.log",
                                         "Session Storage\\CURRENT",
                                         "IndexedDB\\a.indexeddb.leveldb\\LOG",
                                         "Service Worker\\CacheStorage\\index",
                                         "File System\\Origins\\CURRENT",
                                         "Network\\TransportSecurity"};
constexpr const char* kChromiumCaches[] = {
    "Cache\\Cache_Data\\data_0", "Code Cache\\js\\index", "GPUCache\\data_1",
    "media cache\\f_000001",     "DawnCache\\data_0",     "DawnGraphiteCache\\data_0",
    "DawnWebGPUCache\\data_0",   "ShaderCache\\data_0"};  // the last for Opera
constexpr const char* kChromiumCookies[] = {"Network\\Cookies",  "Network\\Cookies-journal",
                                            "Cookies",           "Cookies-journal",
                                            "Extension Cookies", "Extension Cookies-journal"};
constexpr const char* kUserDataKept[] = {"Local State", "Guest Profile\\Cache\\data_0"};
constexpr const char* kUserDataCaches[] = {"ShaderCache\\data_0", "GrShaderCache\\data_0",
                                           "GraphiteDawnCache\\data_0"};
constexpr const char* kFirefoxKept[] = {"places.sqlite",
                                        "favicons.sqlite",
                                        "key4.db",
                                        "logins.json",
                                        "cert9.db",
                                        "permissions.sqlite",
                                        "prefs.js",
                                        "extensions\\a@b.xpi",
                                        "storage\\default\\ls\\data.sqlite",
                                        "sessionstore.jsonlz4"};
constexpr const char* kFirefoxCaches[] = {"cache2\\entries\\0A1B", "startupCache\\s.little",
                                          "jumpListCache\\a.ico", "thumbnails\\b.png"};
constexpr const char* kFirefoxCookies[] = {"cookies.sqlite", "cookies.sqlite-wal",
                                           "cookies.sqlite-shm"};

class BrowsersTest : public CleanupsTest {
 protected:
  BrowsersTest() {
    sim.SetSpecialFolder(platform::csidl::kLocalAppData, kLocal);
    sim.SetSpecialFolder(platform::csidl::kAppData, kRoaming);
    test.texts[Text::kBrowserCacheRemoved] = "%1: cache removed, %2";
    test.texts[Text::kBrowserCookiesRemoved] = "%1: cookies removed, %2";
    test.texts[Text::kBrowserRunning] = "%1 is running";
    test.texts.SetCode("En");
  }

  // Each file holds its own path. What goes counts towards the line `freedBy` (a cache folder,
  // the first part of its name, must be left empty).
  void Seed(const std::string& folder, Names names, const std::string& freedBy = {}) {
    for (const char* name : names) {
      const std::string path = folder + "\\" + name;
      sim.AddFile(path, path);
      if (freedBy.empty()) {
        kept.push_back(path);
        continue;
      }
      freed[freedBy] += path.size();
      gone.insert(path);
      if (const char* cut = std::strchr(name, '\\'); cut && freedBy.find("cache") != npos) {
        caches.insert(folder + "\\" + std::string(name, cut));
      }
    }
  }
  void Chromium(const std::string& profile, const std::string& browser, std::size_t caches = 7) {
    Seed(profile, kChromiumKept);
    Seed(profile, std::span(kChromiumCaches).first(caches), browser + ": cache removed");
    Seed(profile, kChromiumCookies, browser + ": cookies removed");
  }
  void Firefox(const std::string& profile, const std::string& local) {
    Seed(profile, kFirefoxKept);
    Seed(local, kFirefoxCaches, "Mozilla Firefox: cache removed");
    Seed(profile, kFirefoxCookies, "Mozilla Firefox: cookies removed");
  }
  std::string Line(const std::string& start) {
    return start + ", " + lang::FormatSize(freed[start], test.texts);
  }

  static constexpr std::size_t npos = std::string::npos;
  std::map<std::string, std::uint64_t> freed;
  std::set<std::string> gone, caches;
  std::vector<std::string> kept;
};

TEST_F(BrowsersTest, OnlyTheNamedCachesAndCookieFilesOfEveryProfileGo) {
  const std::string chrome = kLocal + "\\Google\\Chrome\\User Data";
  Chromium(chrome + "\\Default", "Google Chrome");
  Chromium(chrome + "\\Profile 2", "Google Chrome", 6);
  Seed(chrome, kUserDataKept);
  Seed(chrome, kUserDataCaches, "Google Chrome: cache removed");
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
  // Look-alikes and links: none of them is a place of these browsers.
  const char* kDecoys[] = {"C:\\cookies.sqlite",
                           "C:\\Users\\me\\AppData\\Local\\Other\\cookies.sqlite",
                           "C:\\Users\\me\\AppData\\Local\\Other\\Cache\\x.bin",
                           "C:\\Users\\me\\AppData\\Local\\Acme\\User Data\\Default\\Preferences",
                           "C:\\Users\\me\\AppData\\Local\\Acme\\User Data\\Default\\Cache\\x",
                           "C:\\Outside\\Preferences",
                           "C:\\Outside\\Cookies",
                           "C:\\Outside\\cookies.sqlite",
                           "C:\\Outside\\GPUCache\\x"};
  kept.insert(kept.end(), std::begin(kDecoys), std::end(kDecoys));
  for (const char* decoy : kDecoys)
    sim.AddFile(decoy, decoy);
  // A profile, a cache and a Firefox profile that are links, and a link inside a cache.
  sim.AddFolderLink(chrome + "\\Profile 9", "C:\\Outside");
  sim.AddFolderLink(chrome + "\\Profile 2\\DawnWebGPUCache", "C:\\Outside");
  sim.AddFolderLink(firefox + "\\Profiles\\linked", "C:\\Outside");
  sim.AddFolderLink(chrome + "\\Default\\Code Cache\\wasm", "C:\\Outside");
  const std::string before = sim.Dump();

  cleanups.TemporaryInternetFiles();
  cleanups.Cookies();
  const std::string after = sim.Dump();
  for (const std::string& cache : caches) {
    EXPECT_TRUE(sim.Exists(cache)) << cache;
    EXPECT_EQ(sim.Dump(cache), "") << cache;
  }
  // Every other entry of the machine is there as before, each file kept with its own bytes.
  for (const std::string& path : kept)
    EXPECT_EQ(sim.Content(path), path);
  std::size_t start = 0;
  for (std::size_t end; (end = before.find('\n', start)) != npos; start = end + 1) {
    const std::string line = before.substr(start, end - start);
    const std::string path = line.substr(0, std::min(line.find(" ("), line.find(" -> ")));
    bool inCache = false;
    for (const std::string& cache : caches)
      inCache = inCache || path.rfind(cache + "\\", 0) == 0;
    if (gone.count(path)) {
      EXPECT_FALSE(sim.Exists(path)) << path;
    } else if (!inCache) {
      EXPECT_NE(after.find(line + "\n"), npos) << line;
    }
  }
  EXPECT_EQ(Reported(),
            (std::vector<std::string>{
                Line("Google Chrome: cache removed"), Line("Opera: cache removed"),
                Line("Mozilla Firefox: cache removed"), Line("Google Chrome: cookies removed"),
                Line("Opera: cookies removed"), Line("Mozilla Firefox: cookies removed")}));
  std::uint64_t total = 0;
  for (const auto& [line, bytes] : freed)
    total += bytes;
  EXPECT_EQ(state.freedBytes, static_cast<std::int64_t>(total));
  EXPECT_TRUE(sim.RecycleBinPaths().empty());
}

TEST_F(BrowsersTest, ARunningBrowserIsLeftAloneForTheWholeRunAndReportedOnce) {
  const std::string edge = kLocal + "\\Microsoft\\Edge\\User Data";
  const std::string chrome = kLocal + "\\Google\\Chrome\\User Data";
  Chromium(edge + "\\Default", "Microsoft Edge");
  Chromium(chrome + "\\Default", "Google Chrome");
  const std::string edgeBefore = sim.Dump(edge);
  sim.SetRunning("MSEDGE.EXE");
  cleanups.TemporaryInternetFiles();
  // Edge closes and Chrome starts between the two steps: each browser is asked again until it
  // is found running.
  sim.SetRunning("msedge.exe", false);
  sim.SetRunning("chrome.exe");
  cleanups.Cookies();
  EXPECT_EQ(sim.Dump(edge), edgeBefore);
  EXPECT_TRUE(sim.Exists(chrome + "\\Default\\Network\\Cookies"));
  EXPECT_FALSE(sim.Exists(chrome + "\\Default\\Cache\\Cache_Data"));
  EXPECT_EQ(Reported(),
            (std::vector<std::string>{Line("Google Chrome: cache removed"),
                                      "Microsoft Edge is running", "Google Chrome is running"}));
}

}  // namespace
}  // namespace testing_cleanups
