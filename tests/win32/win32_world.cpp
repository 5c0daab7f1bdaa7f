// The contract's world on the real file system: the sandbox's test drive T:.
#include <atomic>

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "tests/platform/contract_world.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

namespace testing_world {

namespace {

using platform::DriveType;
using platform::win32::UniqueHandle;
using testing_win32::W;
using testing_win32::WidePath;

HKEY RootKey(platform::RegistryRoot root) {
  switch (root) {
    case platform::RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case platform::RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case platform::RegistryRoot::kUsers:
      return HKEY_USERS;
    case platform::RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return nullptr;
}

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value key) { return key != nullptr; }
  static void Close(Value key) { ::RegCloseKey(key); }
};
using UniqueKey = platform::win32::UniqueResource<RegistryKeyTraits>;

const wchar_t kRecentDocs[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

class Win32World final : public ContractWorld {
 public:
  Win32World() {
    static std::atomic<int> counter{0};
    const std::string id =
        std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
    root_ = "T:\\contract-" + id;
    registryKey_ = "Software\\Dustorix contract " + id;
    MakeFolder(root_);
    DWORD length = ::GetEnvironmentVariableW(L"TMP", nullptr, 0);
    if (length > 0) {
      savedTmp_.emplace(length, L'\0');
      savedTmp_->resize(::GetEnvironmentVariableW(L"TMP", savedTmp_->data(), length));
    }
  }
  ~Win32World() override {
    ::SetCurrentDirectoryW(L"C:\\");  // a test may have moved it into the tree
    ::SetEnvironmentVariableW(L"TMP", savedTmp_ ? savedTmp_->c_str() : nullptr);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
      ::RegDeleteTreeW(root, W(registryKey_).c_str());
    ::RegDeleteTreeW(HKEY_USERS, W(".DEFAULT\\" + registryKey_).c_str());
    for (const std::wstring& url : lockedUrls_)
      ::UnlockUrlCacheEntryFileW(url.c_str(), 0);
    for (const std::wstring& url : urls_)
      ::DeleteUrlCacheEntryW(url.c_str());
  }

  platform::System& System() override { return system_; }
  const std::string& Root() const override { return root_; }

  void MakeFolder(std::string_view path) override {
    testing_win32::MakeFolder(path);
    ASSERT_TRUE(Exists(path)) << path;
  }

  void MakeFile(std::string_view path, std::string_view content,
                std::uint32_t attributes) override {
    testing_win32::MakeFile(path, content, attributes);
  }

  bool Exists(std::string_view path) override { return testing_win32::Exists(path); }

  void RemoveTree(std::string_view path) override {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      testing_win32::RemoveTree(path);
    } else {
      ::SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(WidePath(path).c_str());
    }
  }

  std::string ContentOf(std::string_view path) override {
    platform::ReadResult read = system_.ReadFile(path, platform::FileAccess::kRead);
    return read.bytes.value_or("<missing>");
  }

  void HoldOpen(std::string_view path) override {
    UniqueHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    held_.push_back(std::move(file));
  }

  void SetCurrentDirectory(std::string_view path) override {
    std::optional<std::wstring> wide = platform::win32::Widen(path);
    ASSERT_TRUE(wide && ::SetCurrentDirectoryW(wide->c_str())) << path;
  }

  std::string TestFilesFolder() const override {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    const std::string program = platform::win32::Narrow(std::wstring_view(path, length));
    return program.substr(0, program.rfind('\\'));
  }

  std::string FixtureLink() const override { return "T:\\fixtures\\link"; }
  std::string FixtureFileLink() const override { return "T:\\fixtures\\filelink.tmp"; }

  std::vector<DriveCase> DriveCases() const override {
    return {{"T:", DriveType::kFixed},
            {"R:\\", DriveType::kRemovable},
            {"N:", DriveType::kRemote},
            {"Q:", DriveType::kNoRootDir}};
  }
  // Wine's user token holds the Administrators group.
  bool ExpectAdministrator() const override { return true; }
  void StartProgram(std::string_view programFile) override {
    programs_.push_back(
        std::make_unique<testing_program::StandInProcess>(std::string(programFile)));
  }
  void StopPrograms() override { programs_.clear(); }
  bool LinksAreRemovable() const override { return false; }

  void SetTempFolder(std::string_view path) override {
    // GetTempPath takes TMP first.
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", W(path).c_str()));
  }

  std::string ExpectedWindowsFolder() override { return ExpectedSpecialFolder(CSIDL_WINDOWS); }

  std::string ExpectedSpecialFolder(int csidl) override {
    wchar_t path[MAX_PATH + 1] = {};
    if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
    return platform::win32::Narrow(path);
  }

  const std::string& RegistryTestKey() const override { return registryKey_; }

  void SetRegistryValue(platform::RegistryRoot root, std::string_view key, std::string_view name,
                        const platform::RegistryValue& value) override {
    // Creates the key when it is missing.
    ASSERT_EQ(::RegSetKeyValueW(RootKey(root), W(key).c_str(), W(name).c_str(), value.type,
                                value.data.data(), static_cast<DWORD>(value.data.size())),
              ERROR_SUCCESS)
        << key << " " << name;
  }

  bool RegistryKeyExists(platform::RegistryRoot root, std::string_view key) override {
    UniqueKey opened;
    return ::RegOpenKeyExW(RootKey(root), W(key).c_str(), 0, KEY_READ, opened.Receive()) ==
           ERROR_SUCCESS;
  }

  bool RegistryValueExists(platform::RegistryRoot root, std::string_view key,
                           std::string_view name) override {
    return ::RegGetValueW(RootKey(root), W(key).c_str(), W(name).c_str(), RRF_RT_ANY, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS;
  }

  void AddUrlCacheEntry(std::string_view url) override {
    const std::wstring wide = W(url);
    wchar_t file[MAX_PATH + 1] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryW(wide.c_str(), 0, L"txt", file, 0)) << url;
    testing_win32::MakeFile(platform::win32::Narrow(file), "cached");
    const FILETIME never{};
    ASSERT_TRUE(::CommitUrlCacheEntryW(wide.c_str(), file, never, never, NORMAL_CACHE_ENTRY,
                                       nullptr, 0, nullptr, nullptr))
        << url;
    urls_.push_back(wide);
  }

  void LockUrlCacheEntry(std::string_view url) override {
    const std::wstring wide = W(url);
    DWORD size = 0;
    ::GetUrlCacheEntryInfoW(wide.c_str(), nullptr, &size);
    ASSERT_GT(size, 0u) << url;
    std::vector<std::uint64_t> buffer(size / sizeof(std::uint64_t) + 1);
    ASSERT_TRUE(::RetrieveUrlCacheEntryFileW(
        wide.c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data()), &size, 0))
        << url;
    lockedUrls_.push_back(wide);
  }

  bool UrlCacheHas(std::string_view url) override {
    DWORD size = 0;
    // Without a buffer the look-up of an existing entry only asks for more room.
    return !::GetUrlCacheEntryInfoW(W(url).c_str(), nullptr, &size) &&
           ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
  }

  std::int64_t RecycleBinItems() override {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (::SHQueryRecycleBinW(nullptr, &info) != S_OK) {
      ADD_FAILURE() << "SHQueryRecycleBinW failed";
      return -1;
    }
    return info.i64NumItems;
  }

  void AddRecentDocument(std::string_view path) override {
    ::SHAddToRecentDocs(SHARD_PATHW, W(path).c_str());
  }

  int RecentDocumentCount() override {
    // The shell keeps its list under this key: values for the list, subkeys per file type.
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRecentDocs, 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS) {
      return 0;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr);
    return static_cast<int>(subkeys + values);
  }

 private:
  platform::win32::Win32System system_;
  std::string root_;
  std::string registryKey_;
  std::optional<std::wstring> savedTmp_;
  std::vector<UniqueHandle> held_;
  std::vector<std::wstring> urls_;
  std::vector<std::wstring> lockedUrls_;
  std::vector<std::unique_ptr<testing_program::StandInProcess>> programs_;
};

std::unique_ptr<ContractWorld> MakeWin32World() {
  return std::make_unique<Win32World>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, SystemContract, ::testing::Values(WorldFactory(&MakeWin32World)));
INSTANTIATE_TEST_SUITE_P(Win32, SettingsContract, ::testing::Values(WorldFactory(&MakeWin32World)));
INSTANTIATE_TEST_SUITE_P(Win32, RulesContract, ::testing::Values(WorldFactory(&MakeWin32World)));

}  // namespace testing_world
