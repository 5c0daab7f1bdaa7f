// The special clean-ups on the real system, inside the Wine sandbox: registry keys of the
// private prefix, its URL cache, its Windows folder and the test drive T:.
#include <gtest/gtest.h>

#include <atomic>

#include "cleanups/previous_windows.h"
#include "cleanups/special_cleanups.h"
#include "platform/proxy_system.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "tests/clean/test_run.h"
#include "tests/platform/bin_record.h"
#include "tests/platform/pe_image.h"
#include "tests/win32/test_files.h"

#include <wininet.h>

namespace {

using platform::win32::Narrow;
using platform::win32::UniqueHandle;
using testing_win32::Exists;
using testing_win32::MakeFile;
using testing_win32::W;
using testing_win32::WidePath;

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value key) { return key != nullptr; }
  static void Close(Value key) { ::RegCloseKey(key); }
};
using UniqueKey = platform::win32::UniqueResource<RegistryKeyTraits>;

void SetValue(HKEY root, const wchar_t* key, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
  ASSERT_EQ(::RegSetKeyValueW(root, key, name.c_str(), type, data, size), ERROR_SUCCESS);
}

bool HasValue(HKEY root, const wchar_t* key, const std::wstring& name) {
  return ::RegGetValueW(root, key, name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

class CleanupsWin32 : public ::testing::Test {
 protected:
  CleanupsWin32() {
    static std::atomic<int> counter{0};
    folder =
        "T:\\cleanups-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
    testing_win32::MakeFolder(folder);
  }

  std::vector<std::string> Reported() const { return test.view.report; }

  std::string folder;
  platform::win32::Win32System system;
  testing_clean::TestRun test{system};
  clean::RunState& state = test.state;
  cleanups::RunContext& run = test.run;
  cleanups::SpecialCleanups cleanups{run, true};
};

TEST_F(CleanupsWin32, EmptyFolderOnARealTree) {
  MakeFile(folder + "\\tree\\a.tmp", 10);
  MakeFile(folder + "\\tree\\hidden.tmp", 20, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  MakeFile(folder + "\\tree\\one\\b.tmp", 40);
  MakeFile(folder + "\\tree\\one\\two\\locked.txt", 1000, FILE_ATTRIBUTE_READONLY);
  MakeFile(folder + "\\tree\\other\\c.tmp", 80);
  cleanups.EmptyFolder(folder + "\\tree", true);
  EXPECT_TRUE(Exists(folder + "\\tree\\one\\two\\locked.txt"));
  EXPECT_FALSE(Exists(folder + "\\tree\\one\\b.tmp"));
  EXPECT_FALSE(Exists(folder + "\\tree\\other"));
  EXPECT_FALSE(Exists(folder + "\\tree\\hidden.tmp"));
  EXPECT_EQ(state.freedBytes, 150);

  ASSERT_TRUE(::SetFileAttributesW(WidePath(folder + "\\tree\\one\\two\\locked.txt").c_str(),
                                   FILE_ATTRIBUTE_NORMAL));
  cleanups.EmptyFolder(folder + "\\tree\\", true);
  EXPECT_FALSE(Exists(folder + "\\tree"));
  EXPECT_EQ(state.freedBytes, 1150);
}

TEST_F(CleanupsWin32, EmptyFolderRemovesALinkWithoutEnteringIt) {
  // The sandbox's host symlink T:\fixtures\link leads to a folder holding keep.txt. Wine cannot
  // remove such a link (Windows would remove the link alone); either way the target stays.
  cleanups.EmptyFolder("T:\\fixtures", false);
  EXPECT_TRUE(Exists("T:\\fixtures"));
  std::optional<platform::DirEntry> link = system.LookUp("T:\\fixtures\\link");
  if (link) {
    EXPECT_TRUE(link->IsReparsePoint());
    EXPECT_EQ(system.ReadFile("T:\\fixtures\\link\\keep.txt", platform::FileAccess::kRead).bytes,
              "keep");
  }
  EXPECT_EQ(state.freedBytes, 0);
  // What is left is the link to keep.txt that Wine shows as a file of its size: not removed.
  EXPECT_EQ(cleanups.FolderSize("T:\\fixtures", true), 4);
  EXPECT_EQ(system.ReadFile("T:\\fixtures\\filelink.tmp", platform::FileAccess::kRead).bytes,
            "keep");
}

TEST_F(CleanupsWin32, DriveRootsAreRefusedEvenThroughTheTempVariable) {
  MakeFile(folder + "\\canary.txt", 1);
  MakeFile("T:\\canary-" + folder.substr(3) + ".txt", 1);
  for (const char* root : {"T:\\", "T:", "T:\\fixtures\\..\\", "\\\\?\\T:\\"})
    cleanups.EmptyFolder(root, true);
  ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", L"T:\\fixtures\\..\\"));
  cleanups::SpecialCleanups user(run, false);
  user.TemporaryFolders();
  ::SetEnvironmentVariableW(L"TMP", nullptr);
  EXPECT_TRUE(Exists(folder + "\\canary.txt"));
  EXPECT_TRUE(Exists("T:\\canary-" + folder.substr(3) + ".txt"));
  EXPECT_EQ(state.freedBytes, 0);
}

// A bin that cannot take a file: W: is the sandbox's trash, and with its files folder replaced
// by a file the shell cannot put it there. The file stays, named as before.
TEST_F(CleanupsWin32, ABinThatCannotTakeAFileLeavesItWhereItWas) {
  ASSERT_TRUE(::MoveFileW(L"W:\\files", L"W:\\files-away") || !Exists("W:\\files"));
  MakeFile("W:\\files", "no folder");
  MakeFile(folder + "\\unbinnable.tmp", "precious");
  MakeFile(folder + "\\second.tmp", "also precious");
  const platform::Recycled one = system.MoveToRecycleBin(folder + "\\unbinnable.tmp");
  std::vector<platform::Recycled> results;
  const std::vector<std::string> batch = {folder + "\\second.tmp"};
  system.MoveAllToRecycleBin(batch, results);
  ::DeleteFileW(L"W:\\files");
  ::MoveFileW(L"W:\\files-away", L"W:\\files");
  EXPECT_NE(one, platform::Recycled::kYes);
  EXPECT_EQ(results, std::vector<platform::Recycled>{platform::Recycled::kRefused});
  EXPECT_EQ(system.ReadFile(folder + "\\unbinnable.tmp", platform::FileAccess::kRead).bytes,
            "precious");
  EXPECT_EQ(system.ReadFile(folder + "\\second.tmp", platform::FileAccess::kRead).bytes,
            "also precious");
  std::vector<std::string> names;
  system.ListFolder(folder, [&](const platform::DirEntry& entry) {
    names.push_back(entry.name);
    return true;
  });
  EXPECT_EQ(names.size(), 2u) << "no second name is left behind";
}

TEST_F(CleanupsWin32, SpecialFoldersAndLongPathNames) {
  namespace csidl = platform::csidl;
  for (int id : {csidl::kFavorites, csidl::kRecent, csidl::kAppData, csidl::kInternetCache,
                 csidl::kCookies, csidl::kHistory}) {
    const std::string path = system.SpecialFolder(id);
    ASSERT_FALSE(path.empty()) << id;
    std::optional<platform::DirEntry> entry = system.LookUp(path);
    ASSERT_TRUE(entry) << path;
    EXPECT_TRUE(entry->IsDirectory()) << path;
  }
  const std::string temp = system.TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_EQ(cleanups.LongPathName(temp).size(), temp.size());

  // A short name the file system made up leads back to the long one.
  MakeFile(folder + "\\A Rather Long Folder Name\\Another Long File Name.txt", 1);
  wchar_t shortPath[MAX_PATH + 1] = {};
  ASSERT_GT(::GetShortPathNameW(
                W(folder + "\\A Rather Long Folder Name\\Another Long File Name.txt").c_str(),
                shortPath, MAX_PATH + 1),
            0u);
  const std::string shortName = Narrow(shortPath);
  ASSERT_EQ(shortName.find("Long"), std::string::npos) << shortName;
  EXPECT_EQ(cleanups.LongPathName(shortName),
            folder + "\\A Rather Long Folder Name\\Another Long File Name.txt");
  EXPECT_EQ(cleanups.LongPathName("C:\\WINDOWS\\"), system.WindowsFolder() + "\\");
}

TEST_F(CleanupsWin32, RunListValuesGoAndTheKeyStays) {
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
  const wchar_t command[] = L"notepad\\1";
  for (const wchar_t* name : {L"a", L"b", L"c", L"MRUList"})
    SetValue(HKEY_CURRENT_USER, key, name, REG_SZ, command, sizeof command);
  cleanups.ClearRunList();
  UniqueKey opened;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, opened.Receive()), ERROR_SUCCESS);
  DWORD values = 99;
  ASSERT_EQ(::RegQueryInfoKeyW(opened.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 0u);
}

// Windows' own categories on the sandbox's Windows and user folders: the caches' and logs' own
// files go, one Explorer holds open stays, and so does everything beside them.
TEST_F(CleanupsWin32, ThumbnailsDeliveryOptimizationAndUpgradeLogs) {
  const std::string local = system.SpecialFolder(platform::csidl::kLocalAppData);
  const std::string windows = system.WindowsFolder();
  ASSERT_FALSE(local.empty() || windows.empty());
  const std::string explorer = local + "\\Microsoft\\Windows\\Explorer\\";
  const std::string delivery = windows +
                               "\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\"
                               "Windows\\DeliveryOptimization\\";
  const std::string gone[] = {explorer + "thumbcache_96.db", explorer + "iconcache_16.db",
                              delivery + "Cache\\e2e\\piece", windows + "\\Panther\\e2e.log",
                              windows + "\\Logs\\CBS\\e2e.log"};
  const std::string kept[] = {explorer + "thumbcache_held.db", explorer + "e2e.etl",
                              delivery + "State\\e2e.dat", windows + "\\Panther\\e2e.xml"};
  for (const std::string& path : gone)
    MakeFile(path, 10);
  for (const std::string& path : kept)
    MakeFile(path, 1000);
  UniqueHandle held(::CreateFileW(WidePath(explorer + "thumbcache_held.db").c_str(), GENERIC_READ,
                                  0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  cleanups.Thumbnails();
  cleanups.DeliveryOptimization();
  cleanups.UpgradeLogs();
  held.Reset();
  for (const std::string& path : gone)
    EXPECT_FALSE(Exists(path)) << path;
  for (const std::string& path : kept)
    EXPECT_TRUE(Exists(path)) << path;
  EXPECT_TRUE(Exists(delivery + "Cache"));
  EXPECT_EQ(state.freedBytes, 50);
  ::DeleteFileW(WidePath(explorer + "thumbcache_held.db").c_str());
}

// The sandbox's Downloads folder by the files' write times: a file held open stays, and so do
// the folders. A Downloads folder that is a host link, to a folder outside or to another drive's
// root, is left whole and reported.
TEST_F(CleanupsWin32, DownloadsNotWrittenForTheDaysChosen) {
  const std::string downloads = system.SpecialFolder(platform::csidl::kDownloads);
  ASSERT_FALSE(downloads.empty());
  const std::pair<std::string, int> gone[] = {{downloads + "\\e2e-old.zip", 31 * 24},
                                              {downloads + "\\e2e-sub\\older.bin", 61 * 24}};
  const std::pair<std::string, int> kept[] = {{downloads + "\\e2e-fresh.pdf", 29 * 24},
                                              {downloads + "\\e2e-busy.iso", 90 * 24}};
  for (const auto& [path, hours] : gone) {
    MakeFile(path, 100);
    testing_win32::SetWrittenHoursAgo(path, hours);
  }
  for (const auto& [path, hours] : kept) {
    MakeFile(path, 1000);
    testing_win32::SetWrittenHoursAgo(path, hours);
  }
  UniqueHandle held(::CreateFileW(WidePath(downloads + "\\e2e-busy.iso").c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  cleanups.RemoveDownloadsNotWrittenFor(30);
  cleanups.Downloads();
  held.Reset();
  for (const auto& [path, hours] : gone)
    EXPECT_FALSE(Exists(path)) << path;
  for (const auto& [path, hours] : kept)
    EXPECT_TRUE(Exists(path)) << path;
  EXPECT_TRUE(Exists(downloads + "\\e2e-sub"));
  EXPECT_EQ(state.freedBytes, 200);
  EXPECT_TRUE(Reported().empty());
  for (const auto& [path, hours] : kept)
    ::DeleteFileW(WidePath(path).c_str());
  ::RemoveDirectoryW(WidePath(downloads + "\\e2e-sub").c_str());

  // The shell folder named as a host link: T:\fixtures\link leads out of the sandbox's drives,
  // T:\fixtures\driveroot to R:'s root.
  struct Redirected : platform::ProxySystem {
    using ProxySystem::ProxySystem;
    std::string SpecialFolder(int csidl) override {
      return csidl == platform::csidl::kDownloads ? place : ProxySystem::SpecialFolder(csidl);
    }
    std::string place;
  } redirected(system);
  const std::string canary = "R:\\" + folder.substr(3) + "-canary.txt";
  MakeFile(canary, 1);
  testing_win32::SetWrittenHoursAgo(canary, 90 * 24);
  testing_clean::TestRun linked(redirected);
  cleanups::SpecialCleanups linkedCleanups(linked.run, false);
  linkedCleanups.RemoveDownloadsNotWrittenFor(1);
  for (const char* place : {"T:\\fixtures\\link", "T:\\fixtures\\driveroot"}) {
    redirected.place = place;
    linkedCleanups.Downloads();
  }
  EXPECT_EQ(linked.view.report.size(), 2u);
  EXPECT_EQ(linked.state.removedFiles, 0);
  EXPECT_TRUE(Exists(canary));
  EXPECT_EQ(system.ReadFile("T:\\fixtures\\link\\keep.txt", platform::FileAccess::kRead).bytes,
            "keep");
}

// The previous Windows installation on the sandbox's system drive is measured, never touched.
// The user's folder of a fixed drive's recycle bin, named by the token's SID: old items go with
// their records, young ones stay, and so does an old one whose content is held open.
TEST_F(CleanupsWin32, RecycleBinItemsGoByTheDateTheBinRecords) {
  const std::string sid = system.UserSid();
  ASSERT_EQ(sid.rfind("S-1-5-", 0), 0u) << sid;
  const std::string bin = "T:\\$Recycle.Bin\\" + sid + "\\";
  const std::uint64_t day = platform::kTicksPerDay;
  const std::uint64_t now = system.CurrentTime();
  const auto item = [&](const std::string& rest, std::uint64_t days, std::size_t size) {
    MakeFile(bin + "$I" + rest, testing_world::BinRecord(now - days * day, size));
    MakeFile(bin + "$R" + rest, size);
  };
  item("OLD.txt", 40, 100);
  item("NEW.txt", 3, 10);
  item("BUSY.txt", 40, 10);
  MakeFile(bin + "$IDIR", testing_world::BinRecord(now - 31 * day, 50));
  MakeFile(bin + "$RDIR\\inner\\a.txt", 50);
  UniqueHandle held(::CreateFileW(WidePath(bin + "$RBUSY.txt").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  cleanups.EmptyRecycleBinOf(30);
  cleanups.EmptyRecycleBin();
  held.Reset();
  for (const char* gone : {"$IOLD.txt", "$ROLD.txt", "$IDIR", "$RDIR"})
    EXPECT_FALSE(Exists(bin + gone)) << gone;
  for (const char* kept : {"$INEW.txt", "$RNEW.txt", "$IBUSY.txt", "$RBUSY.txt"})
    EXPECT_TRUE(Exists(bin + kept)) << kept;
  EXPECT_EQ(state.removedFiles, 2);
  testing_win32::RemoveTree("T:\\$Recycle.Bin");
}

TEST_F(CleanupsWin32, PreviousWindowsInstallationIsMeasuredOnly) {
  const std::string windows = system.WindowsFolder();
  ASSERT_GE(windows.size(), 3u);
  const std::string old = windows.substr(0, 3) + "Windows.old";
  EXPECT_FALSE(cleanups::PreviousWindowsInstallation(run)) << "none yet";
  MakeFile(old + "\\Windows\\System32\\e2e.dll", 3000);
  MakeFile(old + "\\Users\\e2e\\letter.doc", 96);
  const std::optional<cleanups::FolderTotal> total = cleanups::PreviousWindowsInstallation(run);
  ASSERT_TRUE(total);
  EXPECT_EQ(total->files, 2u);
  EXPECT_EQ(total->bytes, 3096u);
  EXPECT_TRUE(Exists(old + "\\Users\\e2e\\letter.doc"));
  for (const char* file : {"\\Windows\\System32\\e2e.dll", "\\Users\\e2e\\letter.doc"})
    ::DeleteFileW(WidePath(old + file).c_str());
  for (const char* folder : {"\\Windows\\System32", "\\Windows", "\\Users\\e2e", "\\Users", ""})
    ::RemoveDirectoryW(WidePath(old + folder).c_str());
}

TEST_F(CleanupsWin32, SharedDllsWithACountOfZeroGo) {
  const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  const std::string zero = folder + "\\zero.dll";
  const std::string three = folder + "\\three.dll";
  const std::string binary = folder + "\\binary.dll";
  const std::string busy = folder + "\\busy.dll";
  const std::string missing = folder + "\\missing.dll";
  MakeFile(zero, testing_world::PeImage(100));
  MakeFile(three, testing_world::PeImage(200));
  MakeFile(binary, testing_world::PeImage(400));
  MakeFile(busy, testing_world::PeImage(800));
  UniqueHandle held(::CreateFileW(WidePath(busy).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  const DWORD none = 0;
  const DWORD count = 3;
  const char bytes[4] = {};
  SetValue(HKEY_LOCAL_MACHINE, key, W(zero), REG_DWORD, &none, sizeof none);
  SetValue(HKEY_LOCAL_MACHINE, key, W(three), REG_DWORD, &count, sizeof count);
  SetValue(HKEY_LOCAL_MACHINE, key, W(binary), REG_BINARY, bytes, sizeof bytes);
  SetValue(HKEY_LOCAL_MACHINE, key, W(busy), REG_DWORD, &none, sizeof none);
  SetValue(HKEY_LOCAL_MACHINE, key, W(missing), REG_DWORD, &none, sizeof none);

  cleanups.RemoveZeroCountDlls();
  EXPECT_EQ(Reported(), std::vector<std::string>{zero});
  EXPECT_EQ(state.freedBytes, 100);
  EXPECT_FALSE(Exists(zero));
  EXPECT_TRUE(Exists(three));
  EXPECT_TRUE(Exists(binary));
  EXPECT_TRUE(Exists(busy));
  // A record goes with its file only: one held open or missing keeps it.
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, key, W(zero)));
  for (const std::string& kept : {busy, missing, three, binary})
    EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, key, W(kept))) << kept;
  for (const std::string& left : {three, binary, busy, missing})
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, W(left).c_str());
}

TEST_F(CleanupsWin32, UrlCacheIsCleared) {
  std::vector<std::wstring> urls;
  for (const char* name : {"a.png", "b.css", "c.js"}) {
    const std::wstring url = W("http://cleanups.invalid/" + folder.substr(3) + "/" + name);
    wchar_t file[MAX_PATH + 1] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0));
    MakeFile(Narrow(file), 16);
    const FILETIME never{};
    ASSERT_TRUE(::CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr,
                                       0, nullptr, nullptr));
    urls.push_back(url);
  }
  cleanups.ClearUrlCache();
  for (const std::wstring& url : urls) {
    DWORD size = 0;
    EXPECT_FALSE(::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  }
  DWORD size = 0;
  EXPECT_FALSE(::FindFirstUrlCacheEntryW(nullptr, nullptr, &size));
  EXPECT_EQ(size, 0u);  // nothing of the private prefix's cache is left
}

TEST_F(CleanupsWin32, UpdateFilesAndSystemLogInTheWindowsFolder) {
  const std::string windows = system.WindowsFolder();
  const std::string setup = windows + "\\Windows Update Setup-Dateien";
  const std::string dollar = windows + "\\$NtUninstall" + folder.substr(3) + "$";
  const std::string dollarFile = windows + "\\$file" + folder.substr(3) + "$";
  const std::string logs = windows + "\\system32\\WBEM\\Logs";
  MakeFile(setup + "\\setup.exe", 10);
  MakeFile(setup + "\\sub\\x.cab", 20);
  MakeFile(dollar + "\\spuninst\\spuninst.exe", 40);
  MakeFile(dollarFile, 1000);
  MakeFile(logs + "\\wbemcore.log", 80);
  MakeFile(logs + "\\old\\wmiprov.log", 160);
  cleanups.OldUpdateFiles();
  cleanups.SystemLog();
  EXPECT_FALSE(Exists(setup));
  EXPECT_FALSE(Exists(dollar));
  EXPECT_TRUE(Exists(dollarFile));
  EXPECT_TRUE(Exists(logs));
  EXPECT_FALSE(Exists(logs + "\\wbemcore.log"));
  EXPECT_FALSE(Exists(logs + "\\old"));
  EXPECT_EQ(state.freedBytes, 310);
  ::DeleteFileW(WidePath(dollarFile).c_str());
}

}  // namespace
