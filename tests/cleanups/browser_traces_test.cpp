// The URL cache, registry strings and the browsers' caches and cookie files.
#include "tests/cleanups/cleanups_harness.h"

namespace testing_cleanups {
namespace {

namespace csidl = platform::csidl;
namespace reg = platform::reg;
using platform::RegistryRoot;
using platform::RegistryValue;

constexpr const char* kOperaKey = "Software\\Opera Software";
constexpr const char* kAppData = "C:\\Users\\tester\\AppData\\Roaming";

class BrowserTracesTest : public CleanupsTest {
 protected:
  void Opera(const char* valueName, RegistryValue value) {
    sim.SetRegistryValue(RegistryRoot::kCurrentUser, kOperaKey, valueName, std::move(value));
  }
};

TEST_F(BrowserTracesTest, ClearUrlCacheDeletesEveryEntryButThoseInUse) {
  cleanups.ClearUrlCache();  // an empty cache is no error
  sim.AddUrlCacheEntry("http://a.invalid/1.png");
  sim.AddUrlCacheEntry("http://a.invalid/busy.js", true);
  sim.AddUrlCacheEntry("Cookie:tester@a.invalid/");
  sim.AddUrlCacheEntry("http://b.invalid/");
  cleanups.ClearUrlCache();
  EXPECT_EQ(sim.UrlCacheUrls(), std::vector<std::string>{"http://a.invalid/busy.js"});
  EXPECT_EQ(state.freedBytes, 0);
  EXPECT_EQ(processed, 0);
}

TEST_F(BrowserTracesTest, ReadRegStringGivesTextValuesOnly) {
  Opera("sz", RegistryValue::FromText("D:\\Opera"));
  Opera("expand", RegistryValue::FromText("%APPDATA%\\Opera", reg::kExpandString));
  Opera("dword", RegistryValue::FromDword(1));
  Opera("binary", {reg::kBinary, std::string("D\0:\0", 4)});
  Opera("empty", {reg::kString, {}});
  Opera("nul", {reg::kString, std::string("A\0\0\0B\0", 6)});
  const RegistryRoot user = RegistryRoot::kCurrentUser;
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "SZ"), "D:\\Opera");
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "expand"), "%APPDATA%\\Opera");
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "dword"), "");
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "binary"), "");
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "empty"), "");
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "nul"), "A");
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "missing"), "");
  EXPECT_EQ(cleanups.ReadRegString(user, "Software\\Missing", "sz"), "");
  EXPECT_EQ(cleanups.ReadRegString(RegistryRoot::kLocalMachine, kOperaKey, "sz"), "");
  sim.LockRegistryKey(user, kOperaKey);
  EXPECT_EQ(cleanups.ReadRegString(user, kOperaKey, "sz"), "");
}

TEST_F(BrowserTracesTest, TemporaryInternetFilesEmptiesEveryCacheAndKeepsTheProfiles) {
  sim.SetSpecialFolder(csidl::kAppData, kAppData);
  sim.SetSpecialFolder(csidl::kInternetCache, "C:\\Users\\tester\\INetCache");
  File("C:\\Users\\tester\\INetCache\\Content.IE5\\X1\\a[1].png", 1);
  sim.AddUrlCacheEntry("http://a.invalid/a.png");
  const std::string usual7 = std::string(kAppData) + "\\Opera\\Opera7\\profile";
  const std::string usual75 = std::string(kAppData) + "\\Opera\\Opera75\\profile";
  File(usual7 + "\\cache4\\opr00001.tmp", 10);
  File(usual7 + "\\opera6.ini", 1000);
  File(usual75 + "\\cache4\\sesn\\opr00002.tmp", 20);
  File("D:\\Opera7\\profile\\cache4\\opr00003.tmp", 40);
  File("D:\\Opera7\\profile\\cookies4.dat", 2000);
  File("D:\\Opera75\\profile\\cache4\\opr00004.tmp", 80);
  Opera("Last Directory2", RegistryValue::FromText("D:\\Opera7"));
  Opera("Last Directory3", RegistryValue::FromText("D:\\Opera75\\", reg::kExpandString));

  cleanups.TemporaryInternetFiles();
  for (const std::string& cache :
       {std::string("C:\\Users\\tester\\INetCache"), usual7 + "\\cache4", usual75 + "\\cache4",
        std::string("D:\\Opera7\\profile\\cache4"), std::string("D:\\Opera75\\profile\\cache4")}) {
    EXPECT_TRUE(sim.Exists(cache)) << cache;
    EXPECT_EQ(sim.Dump(cache), "") << cache;
  }
  EXPECT_TRUE(sim.UrlCacheUrls().empty());
  EXPECT_TRUE(sim.Exists(usual7 + "\\opera6.ini"));
  EXPECT_TRUE(sim.Exists("D:\\Opera7\\profile\\cookies4.dat"));
  EXPECT_EQ(state.freedBytes, 151);
}

TEST_F(BrowserTracesTest, RegisteredPlacesFromUnusableValuesAreSkipped) {
  // Where the tail alone, or the tail below the current folder, would lead.
  File("C:\\profile\\cache4\\x.tmp", 1);
  File("C:\\profile\\cookies4.dat", 2);
  File("C:\\Dustorix\\profile\\cache4\\y.tmp", 4);
  File("C:\\Dustorix\\profile\\cookies4.dat", 8);
  File("C:\\Dustorix\\Opera\\profile\\cookies4.dat", 16);
  const std::string before = sim.Dump();
  auto runBoth = [&] {
    cleanups.TemporaryInternetFiles();
    cleanups.Cookies();
  };
  runBoth();  // no values at all
  Opera("Last Directory2", {reg::kString, {}});
  Opera("Last Directory3", RegistryValue::FromDword(0));
  runBoth();
  Opera("Last Directory2", RegistryValue::FromText(""));
  Opera("Last Directory3", RegistryValue::FromText("Opera"));
  runBoth();
  Opera("Last Directory2", RegistryValue::FromText("\\"));
  Opera("Last Directory3", RegistryValue::FromText("C:"));
  runBoth();
  EXPECT_EQ(sim.Dump(), before);
  EXPECT_EQ(state.freedBytes, 0);
}

TEST_F(BrowserTracesTest, CookieFilesFallBackToTheRegisteredPlace) {
  sim.SetSpecialFolder(csidl::kAppData, kAppData);
  sim.SetSpecialFolder(csidl::kCookies, "C:\\Users\\tester\\Cookies");
  File("C:\\Users\\tester\\Cookies\\tester@a.txt", 1);
  Opera("Last Directory2", RegistryValue::FromText("D:\\O7"));
  Opera("Last Directory3", RegistryValue::FromText("D:\\O75"));
  const std::string usual7 = std::string(kAppData) + "\\Opera\\Opera7\\profile\\cookies4.dat";
  const std::string usual75 = std::string(kAppData) + "\\Opera\\Opera75\\profile\\cookies4.dat";

  // A file with content in the usual place: the registered one is not consulted.
  File(usual7, 100);
  File("D:\\O7\\profile\\cookies4.dat", 200);
  // None in the usual place: the registered one goes.
  File("D:\\O75\\profile\\cookies4.dat", 400);
  cleanups.Cookies();
  EXPECT_FALSE(sim.Exists(usual7));
  EXPECT_TRUE(sim.Exists("D:\\O7\\profile\\cookies4.dat"));
  EXPECT_FALSE(sim.Exists("D:\\O75\\profile\\cookies4.dat"));
  EXPECT_EQ(sim.Dump("C:\\Users\\tester\\Cookies"), "");
  EXPECT_TRUE(sim.Exists("C:\\Users\\tester\\Cookies"));
  EXPECT_EQ(state.freedBytes, 501);
  EXPECT_TRUE(Reported().empty());
  EXPECT_TRUE(sim.RecycleBinPaths().empty());

  // An empty usual file goes and the registered one is tried: counted only if it goes too.
  state.freedBytes = 0;
  File(usual7, 0);
  File(usual75, 0);
  sim.AddFile("D:\\O75\\profile\\cookies4.dat", std::string(800, 'c'), platform::attr::kReadOnly);
  cleanups.Cookies();
  EXPECT_FALSE(sim.Exists(usual7));
  EXPECT_FALSE(sim.Exists(usual75));
  EXPECT_FALSE(sim.Exists("D:\\O7\\profile\\cookies4.dat"));
  EXPECT_TRUE(sim.Exists("D:\\O75\\profile\\cookies4.dat"));
  EXPECT_EQ(state.freedBytes, 200);

  // Neither file there.
  state.freedBytes = 0;
  cleanups.Cookies();
  EXPECT_EQ(state.freedBytes, 0);
}

}  // namespace
}  // namespace testing_cleanups
