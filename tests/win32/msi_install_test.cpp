// The installer as an administrator uses it: tests/win32/msi_install_test.sh builds the package
// and one of a higher version with scripts/package, scripts/wine-test puts them beside these
// tests with the repository's data folder, and the tests install, start, upgrade and remove
// Dustorix with msiexec in the sandbox.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "about/links.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "tests/win32/event_messages.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

#include <msi.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace testing_msi {
namespace {

using platform::win32::Narrow;
using testing_win32::Exists;
using testing_win32::FilesBelow;
using testing_win32::W;

const std::string kInstalled = "C:\\Program Files\\Dustorix";
const wchar_t kEventSource[] =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Dustorix";
const wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string TestFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string file = Narrow(std::wstring_view(path, length));
  return file.substr(0, file.rfind('\\'));
}

// The package of this version, and the one the upgrade goes to: the next patch version.
std::string Version(int patchStep = 0) {
  std::string version = about::kVersion;
  const std::size_t dot = version.rfind('.');
  return version.substr(0, dot + 1) +
         std::to_string(std::stoi(version.substr(dot + 1)) + patchStep);
}
std::string Package(const std::string& version) {
  return TestFolder() + "\\dustorix-" + version + "-x64.msi";
}

// Runs a command line to its end; its exit code, or -1 when it could not start or took too long.
int RunToEnd(std::wstring commandLine, const std::wstring& workingFolder = {}) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    return -1;
  }
  platform::win32::UniqueHandle process(info.hProcess), thread(info.hThread);
  if (::WaitForSingleObject(process.Get(), 180000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 1);
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process.Get(), &code);
  return static_cast<int>(code);
}

int Msiexec(const std::string& arguments) {
  wchar_t system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  return RunToEnd(L"\"" + std::wstring(system, length) + L"\\msiexec.exe\" " + W(arguments));
}

// A value of the 64-bit registry, and its type.
std::optional<std::wstring> ReadValue(HKEY root, const std::wstring& key, const wchar_t* name,
                                      DWORD* type = nullptr) {
  union {
    wchar_t text[1024];
    DWORD number;
  } data;
  DWORD size = sizeof(data);
  DWORD found = 0;
  if (::RegGetValueW(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND | RRF_SUBKEY_WOW6464KEY,
                     &found, &data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type) *type = found;
  if (found == REG_DWORD) return std::to_wstring(data.number);
  return std::wstring(data.text, size / sizeof(wchar_t)).c_str();
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &handle) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(handle);
  return true;
}

// The Add/Remove Programs entries of Dustorix: product code and what the entry shows.
struct Entry {
  std::string productCode;
  std::string version;
  std::string publisher;
  std::string icon;
};
std::vector<Entry> Installed() {
  std::vector<Entry> entries;
  HKEY uninstall = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ | KEY_WOW64_64KEY, &uninstall) !=
      ERROR_SUCCESS) {
    return entries;
  }
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (::RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::wstring key = std::wstring(kUninstall) + L"\\" + name;
    if (ReadValue(HKEY_LOCAL_MACHINE, key, L"DisplayName") != L"Dustorix") continue;
    const auto text = [&](const wchar_t* value) {
      return Narrow(ReadValue(HKEY_LOCAL_MACHINE, key, value).value_or(L""));
    };
    // Add/Remove Programs shows the icon that Windows Installer keeps for the product.
    wchar_t icon[MAX_PATH] = {};
    DWORD iconLength = MAX_PATH;
    ::MsiGetProductInfoW(name, INSTALLPROPERTY_PRODUCTICON, icon, &iconLength);
    entries.push_back({Narrow(name), text(L"DisplayVersion"), text(L"Publisher"), Narrow(icon)});
  }
  ::RegCloseKey(uninstall);
  return entries;
}

std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return Narrow(path);
}

// The Start-menu shortcuts named Dustorix: in the common Start menu where Windows puts a
// per-machine shortcut, or in the user's, where Wine puts it.
std::vector<std::string> Shortcuts() {
  std::vector<std::string> found;
  for (const int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    const std::string link = ShellFolder(csidl) + "\\Dustorix.lnk";
    if (Exists(link)) found.push_back(link);
  }
  return found;
}

struct Shortcut {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingFolder;
};
std::optional<Shortcut> ReadShortcut(const std::string& path) {
  IShellLinkW* link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  std::optional<Shortcut> shortcut;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(W(path).c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetArguments(arguments, MAX_PATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH))) {
      shortcut = Shortcut{target, arguments, folder};
    }
    file->Release();
  }
  link->Release();
  return shortcut;
}

// The user's own settings: an installed copy keeps them in %AppData%\Dustorix, and removing
// Dustorix leaves them.
std::map<std::string, std::string> UserSettings() {
  return FilesBelow(ShellFolder(CSIDL_APPDATA) + "\\Dustorix");
}

// What the package installs: the program, README.txt and the shipped data folder.
void ExpectInstalledFiles() {
  std::map<std::string, std::string> expected;
  for (auto& [path, bytes] : FilesBelow(TestFolder() + "\\data"))
    expected["data\\" + path] = bytes;
  ASSERT_TRUE(expected.contains("data\\lang\\En.dat")) << "the repository's data folder";
  std::map<std::string, std::string> installed = FilesBelow(kInstalled);
  EXPECT_TRUE(installed["README.txt"].find(std::string("Dustorix ") + about::kVersion) !=
              std::string::npos);
  expected["README.txt"] = installed["README.txt"];
  expected["dustorix.exe"] = "<program>";
  EXPECT_EQ(installed, expected);
}

class MsiTest : public ::testing::Test {
 protected:
  MsiTest() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~MsiTest() override { ::CoUninitialize(); }
};

TEST_F(MsiTest, InstallsStartsUpgradesAndRemovesDustorixLeavingOnlyTheUsersSettings) {
  ASSERT_TRUE(Exists(Package(Version()))) << Package(Version());
  ASSERT_TRUE(Exists(Package(Version(1)))) << Package(Version(1));
  ASSERT_FALSE(Exists(kInstalled));

  // A silent install, per machine.
  ASSERT_EQ(Msiexec("/i \"" + Package(Version()) + "\" /qn"), 0);
  ExpectInstalledFiles();
  std::vector<Entry> entries = Installed();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].version, Version());
  EXPECT_EQ(entries[0].publisher, "The Dustorix authors");
  EXPECT_TRUE(entries[0].icon.ends_with(".ico") && Exists(entries[0].icon)) << entries[0].icon;
  const std::string firstProduct = entries[0].productCode;

  // The event source, with the installed program as its message file.
  DWORD type = 0;
  const std::wstring program = W(kInstalled + "\\dustorix.exe");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kEventSource, L"EventMessageFile", &type), program);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kEventSource, L"TypesSupported", &type), L"7");
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_TRUE(testing_win32::EventMessage(program, 1000, {L"/clean all", L"1", L"2", L"none", L""})
                  .starts_with("Dustorix /clean all: done."));

  // The Start-menu shortcut starts the program in its folder, where it finds its data.
  const std::vector<std::string> shortcuts = Shortcuts();
  ASSERT_EQ(shortcuts.size(), 1u);
  const std::optional<Shortcut> shortcut = ReadShortcut(shortcuts[0]);
  ASSERT_TRUE(shortcut);
  EXPECT_EQ(shortcut->target, program);
  EXPECT_EQ(shortcut->arguments, L"");
  EXPECT_EQ(Narrow(shortcut->workingFolder), kInstalled + "\\");
  EXPECT_EQ(RunToEnd(L"\"" + shortcut->target + L"\" /analyze T: /json T:\\installed-run.json",
                     shortcut->workingFolder),
            0);
  EXPECT_NE(testing_win32::ReadAll("T:\\installed-run.json").find("\"outcome\": \"completed\""),
            std::string::npos);
  if (testing_program::HaveDisplay()) {
    // A standard user cannot write to Program Files, but Wine knows no such rights (and ignores
    // a folder's read-only attribute): a read-only file where the program tries its write makes
    // the installed data folder refuse it as Program Files would.
    const std::wstring probe = W(kInstalled + "\\data\\write-check.new");
    testing_win32::MakeFile(Narrow(probe), "", FILE_ATTRIBUTE_READONLY);
    // The window's first start asks for the language.
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + shortcut->target + L"\"";
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 shortcut->workingFolder.c_str(), &startup, &info));
    platform::win32::UniqueHandle process(info.hProcess), thread(info.hThread);
    HWND language = nullptr;
    for (int waited = 0; !language && waited < 10000; waited += 20) {
      ::Sleep(20);
      for (HWND window = ::FindWindowW(L"TFrmlang", nullptr); window && !language;
           window = ::FindWindowExW(nullptr, window, L"TFrmlang", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == info.dwProcessId) language = window;
      }
    }
    EXPECT_NE(language, nullptr);
    ::TerminateProcess(process.Get(), 1);
    ::WaitForSingleObject(process.Get(), 10000);
    ::SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(probe.c_str());
    // The user's copy of the settings was made from the shipped ones at that first start.
    const std::map<std::string, std::string> made = UserSettings();
    for (const char* file : {"data\\fileformat.dat", "data\\exception.dat", "data\\lang\\En.dat"}) {
      EXPECT_TRUE(made.contains(file)) << file;
    }
  }

  // A newer package replaces the installed one.
  ASSERT_EQ(Msiexec("/i \"" + Package(Version(1)) + "\" /qn"), 0);
  entries = Installed();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].version, Version(1));
  EXPECT_NE(entries[0].productCode, firstProduct);
  ExpectInstalledFiles();
  EXPECT_EQ(Shortcuts().size(), 1u);

  // An older one refuses to go over it: 1603, a fatal error (a shell on the host sees 67, the
  // low 8 bits that Wine passes on).
  EXPECT_EQ(Msiexec("/i \"" + Package(Version()) + "\" /qn"), 1603);
  entries = Installed();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].version, Version(1));
  ExpectInstalledFiles();

  // Removed by its product code, as deployment tools do: nothing is left but the user's
  // settings.
  const std::map<std::string, std::string> settings = UserSettings();
  ASSERT_EQ(Msiexec("/x " + entries[0].productCode + " /qn"), 0);
  EXPECT_FALSE(Exists(kInstalled));
  EXPECT_TRUE(Installed().empty());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEventSource));
  EXPECT_TRUE(Shortcuts().empty());
  EXPECT_EQ(UserSettings(), settings);
}

}  // namespace
}  // namespace testing_msi
