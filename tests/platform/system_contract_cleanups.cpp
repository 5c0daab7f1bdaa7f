// The System operations of the special clean-ups, alike on the sim and on win32 under Wine.
#include <algorithm>

#include "settings/list_file.h"
#include "tests/platform/contract_world.h"

namespace testing_world {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
namespace reg = platform::reg;

std::string Lower(std::string_view text) {
  return settings::LowerAsciiLetters(std::string(text));
}

std::string WithoutFinalBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

TEST_P(SystemContract, TempFolderIsTheConfiguredOneWithItsFinalBackslash) {
  World().MakeFolder(At("temp"));
  World().SetTempFolder(At("temp"));
  EXPECT_EQ(Lower(Sys().TempFolder()), Lower(At("temp") + "\\"));
}

TEST_P(SystemContract, WindowsAndSpecialFoldersAreTheSystemsOwn) {
  const std::string windows = Sys().WindowsFolder();
  EXPECT_EQ(Lower(windows), Lower(World().ExpectedWindowsFolder()));
  EXPECT_NE(windows.back(), '\\');
  std::optional<platform::DirEntry> entry = Sys().LookUp(windows);
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->IsDirectory());

  namespace csidl = platform::csidl;
  for (int id : {csidl::kFavorites, csidl::kRecent, csidl::kAppData, csidl::kCommonFavorites,
                 csidl::kInternetCache, csidl::kCookies, csidl::kHistory}) {
    const std::string path = Sys().SpecialFolder(id);
    ASSERT_FALSE(path.empty()) << id;
    EXPECT_EQ(Lower(path), Lower(World().ExpectedSpecialFolder(id))) << id;
  }
  // The recycle bin is a virtual folder; 0x7F names no folder at all.
  EXPECT_EQ(Sys().SpecialFolder(0x0A), "");
  EXPECT_EQ(Sys().SpecialFolder(0x7F), "");
}

TEST_P(SystemContract, FullPathNameResolvesLikeWindows) {
  World().SetCurrentDirectory(World().Root());
  const std::string drive = World().Root().substr(0, 2);
  EXPECT_EQ(Lower(Sys().FullPathName("a\\b\\..\\c")), Lower(At("a\\c")));
  EXPECT_EQ(Lower(Sys().FullPathName(".\\a\\")), Lower(At("a\\")));
  EXPECT_EQ(Lower(Sys().FullPathName("a/b")), Lower(At("a\\b")));
  EXPECT_EQ(Sys().FullPathName(drive + "\\x\\.\\y\\..\\"), drive + "\\x\\");
  EXPECT_EQ(Sys().FullPathName(drive + "\\x\\..\\..\\.."), drive + "\\");
  EXPECT_EQ(Sys().FullPathName("\\x"), drive + "\\x");
  EXPECT_EQ(Sys().FullPathName(Lower(drive) + "\\x\\"), Lower(drive) + "\\x\\");  // case kept
  // A bare drive is its current directory; Wine adds a final backslash there, Windows does not.
  EXPECT_EQ(Lower(WithoutFinalBackslash(Sys().FullPathName(drive))), Lower(World().Root()));
  // The share is the root of a UNC path; Wine keeps a final backslash there.
  EXPECT_EQ(WithoutFinalBackslash(Sys().FullPathName("\\\\server\\share\\x\\..")) + "\\",
            "\\\\server\\share\\");
  EXPECT_EQ(Sys().FullPathName(""), "");
}

TEST_P(SystemContract, RegistryValuesReadBackWithTheirTypes) {
  const std::string key = World().RegistryTestKey() + "\\Values";
  const std::string binary("\x00\x01\xFF", 3);
  for (RegistryRoot root : {RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine}) {
    World().SetRegistryValue(root, key, "text", RegistryValue::FromText("C:\\Opera \xCE\xB1"));
    World().SetRegistryValue(root, key, "expand",
                             RegistryValue::FromText("%APPDATA%\\x", reg::kExpandString));
    World().SetRegistryValue(root, key, "count", RegistryValue::FromDword(7));
    World().SetRegistryValue(root, key, "bytes", {reg::kBinary, binary});
    World().SetRegistryValue(root, key, "empty", {reg::kBinary, {}});

    std::unique_ptr<platform::RegistryKey> opened = Sys().OpenRegistryKey(root, key);
    ASSERT_TRUE(opened);
    std::vector<std::string> names = opened->ValueNames();
    std::sort(names.begin(), names.end());  // Wine sorts, Windows need not
    EXPECT_EQ(names, (std::vector<std::string>{"bytes", "count", "empty", "expand", "text"}));

    EXPECT_EQ(opened->ReadValue("TEXT")->Text(), "C:\\Opera \xCE\xB1");
    std::optional<RegistryValue> expand = opened->ReadValue("expand");
    ASSERT_TRUE(expand);
    EXPECT_EQ(expand->type, reg::kExpandString);
    EXPECT_EQ(expand->Text(), "%APPDATA%\\x");
    std::optional<RegistryValue> count = opened->ReadValue("count");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->Dword(), 7u);
    EXPECT_EQ(count->Text(), std::nullopt);
    std::optional<RegistryValue> bytes = opened->ReadValue("bytes");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->type, reg::kBinary);
    EXPECT_EQ(bytes->data, binary);
    EXPECT_EQ(bytes->Dword(), std::nullopt);
    EXPECT_EQ(opened->ReadValue("empty")->data, "");
    EXPECT_FALSE(opened->ReadValue("missing"));
  }
}

TEST_P(SystemContract, RegistryValuesAreDeletedAndTheKeyStays) {
  const std::string key = World().RegistryTestKey() + "\\RunMRU";
  for (const char* name : {"a", "b", "MRUList"})
    World().SetRegistryValue(RegistryRoot::kCurrentUser, key, name, RegistryValue::FromText("x"));
  std::unique_ptr<platform::RegistryKey> opened =
      Sys().OpenRegistryKey(RegistryRoot::kCurrentUser, key);
  ASSERT_TRUE(opened);
  for (const std::string& name : opened->ValueNames())
    EXPECT_TRUE(opened->DeleteValue(name)) << name;
  EXPECT_TRUE(opened->ValueNames().empty());
  EXPECT_FALSE(opened->DeleteValue("a"));
  EXPECT_FALSE(World().RegistryValueExists(RegistryRoot::kCurrentUser, key, "MRUList"));
  EXPECT_TRUE(World().RegistryKeyExists(RegistryRoot::kCurrentUser, key));
}

TEST_P(SystemContract, OpeningAMissingKeyCreatesNothing) {
  const std::string key = World().RegistryTestKey() + "\\Missing";
  EXPECT_FALSE(Sys().OpenRegistryKey(RegistryRoot::kCurrentUser, key));
  EXPECT_FALSE(Sys().OpenRegistryKey(RegistryRoot::kLocalMachine, key));
  EXPECT_FALSE(World().RegistryKeyExists(RegistryRoot::kCurrentUser, key));
}

TEST_P(SystemContract, UrlCacheEntriesAreListedAndDeletedWhileListing) {
  const std::string base = "http://contract.invalid/" + World().Root().substr(3) + "/";
  const std::vector<std::string> ours = {base + "a.png", base + "b.css", base + "c.js"};
  for (const std::string& url : ours)
    World().AddUrlCacheEntry(url);

  std::vector<std::string> seen;
  Sys().ListUrlCache([&](const std::string& url) {
    seen.push_back(url);
    if (std::find(ours.begin(), ours.end(), url) != ours.end()) {
      EXPECT_TRUE(Sys().DeleteUrlCacheItem(url)) << url;
    }
    return true;
  });
  for (const std::string& url : ours) {
    EXPECT_EQ(std::count(seen.begin(), seen.end(), url), 1) << url;
    EXPECT_FALSE(World().UrlCacheHas(url)) << url;
  }
  EXPECT_FALSE(Sys().DeleteUrlCacheItem(ours[0]));
}

TEST_P(SystemContract, UrlCacheListingEndsEarlyAndAnEntryInUseCannotGo) {
  const std::string base = "http://contract.invalid/" + World().Root().substr(3) + "/";
  World().AddUrlCacheEntry(base + "one");
  World().AddUrlCacheEntry(base + "two");
  int visits = 0;
  Sys().ListUrlCache([&](const std::string&) { return ++visits < 1; });
  EXPECT_EQ(visits, 1);

  World().LockUrlCacheEntry(base + "one");
  EXPECT_FALSE(Sys().DeleteUrlCacheItem(base + "one"));
  EXPECT_TRUE(Sys().DeleteUrlCacheItem(base + "two"));
}

TEST_P(SystemContract, EmptyingTheRecycleBinDropsWhatItHeldAndTheQueryTellsIt) {
  World().MakeFile(At("a.tmp"), "aaa");
  World().MakeFile(At("b.tmp"), "b");
  const std::optional<platform::RecycleBinContent> before = Sys().QueryRecycleBin();
  ASSERT_TRUE(before);
  ASSERT_EQ(Sys().MoveToRecycleBin(At("a.tmp")), platform::Recycled::kYes);
  ASSERT_EQ(Sys().MoveToRecycleBin(At("b.tmp")), platform::Recycled::kYes);
  EXPECT_GE(World().RecycleBinItems(), 2);
  const std::optional<platform::RecycleBinContent> full = Sys().QueryRecycleBin();
  ASSERT_TRUE(full);
  EXPECT_EQ(full->items, before->items + 2);
  EXPECT_EQ(full->bytes, before->bytes + 4);
  Sys().EmptyRecycleBin();
  EXPECT_EQ(World().RecycleBinItems(), 0);
  EXPECT_EQ(Sys().QueryRecycleBin()->items, 0u);
}

TEST_P(SystemContract, RecentDocumentsAreCleared) {
  World().MakeFile(At("letter.txt"), "x");
  World().AddRecentDocument(At("letter.txt"));
  EXPECT_GT(World().RecentDocumentCount(), 0);
  Sys().ClearRecentDocuments();
  EXPECT_EQ(World().RecentDocumentCount(), 0);
}

}  // namespace
}  // namespace testing_world
