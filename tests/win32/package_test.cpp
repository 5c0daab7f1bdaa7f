// The release zip as a Windows user gets it: tests/win32/package_test.sh packs it with
// scripts/package and scripts/wine-test unpacks it onto T:\ (WINE_TEST_UNZIP); the repository's
// data folder lies beside these tests (WINE_TEST_FILES) to compare against.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "about/links.h"
#include "lang/language_texts.h"
#include "platform/text_lines.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "settings/list_file.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"

namespace testing_program {
namespace {

using Lines = std::vector<std::string>;
using platform::win32::Narrow;
using platform::win32::UniqueHandle;
using testing_win32::ReadAll;
using testing_win32::W;

const std::string kPackage = std::string("T:\\dustorix-") + about::kVersion + "-win64";

std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\'));
}

// dustorix.exe started where the user unpacked it, with that folder as its working folder.
class Unpacked {
 public:
  Unpacked() {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring command = L"\"" + W(kPackage + "\\dustorix.exe") + L"\"";
    EXPECT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 W(kPackage).c_str(), &startup, &info_));
    process_.Reset(info_.hProcess);
    thread_.Reset(info_.hThread);
  }
  ~Unpacked() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), 1);
      ::WaitForSingleObject(process_.Get(), 5000);
    }
  }
  Unpacked(const Unpacked&) = delete;
  Unpacked& operator=(const Unpacked&) = delete;

  HWND WaitForWindow(const wchar_t* className, int timeoutMs = 10000) const {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
      for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window;
           window = ::FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == info_.dwProcessId && ::IsWindowVisible(window)) return window;
      }
      ::Sleep(20);
    }
    return nullptr;
  }
  int CloseAndWait(HWND main) const {
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (::WaitForSingleObject(process_.Get(), 10000) != WAIT_OBJECT_0) return -1;
    ::GetExitCodeProcess(process_.Get(), &code);
    return static_cast<int>(code);
  }

 private:
  PROCESS_INFORMATION info_{};
  UniqueHandle process_;
  UniqueHandle thread_;
};

TEST(Package, HoldsTheProgramItsReadmeAndTheShippedDataFolderAsItIs) {
  std::map<std::string, std::string> expected;
  for (auto& [path, bytes] : testing_win32::FilesBelow(Narrow(ExecutableFolder()) + "\\data"))
    expected["data\\" + path] = bytes;
  ASSERT_TRUE(expected.contains("data\\lang\\En.dat")) << "the repository's data folder";
  std::map<std::string, std::string> packed = testing_win32::FilesBelow(kPackage);
  const std::string readme = packed["README.txt"];
  expected["README.txt"] = readme;
  expected["dustorix.exe"] = "<program>";
  EXPECT_EQ(packed, expected);
  // No language is chosen yet: the first start asks.
  EXPECT_FALSE(packed.contains("data\\lang\\whichlang.dat"));

  ASSERT_TRUE(readme.starts_with("\xEF\xBB\xBF")) << "a byte-order mark for Notepad";
  const Lines lines = platform::SplitTextLines(readme.substr(3));
  EXPECT_EQ(settings::FormatListFile(lines), readme.substr(3)) << "CR LF throughout";
  for (const char* part : {"DEUTSCH", "ENGLISH", "Papierkorb", "recycle bin",
                           "Nachfragen bevor gel\xC3\xB6scht wird", "Ask before deleting"}) {
    EXPECT_NE(readme.find(part), std::string::npos) << part;
  }
  EXPECT_NE(readme.find(std::string("Dustorix ") + about::kVersion), std::string::npos);
}

TEST(Package, TheProgramCarriesItsIconAndVersion) {
  const std::wstring exe = W(kPackage + "\\dustorix.exe");
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, about::kVersion);
  wchar_t* product = nullptr;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&product), &length));
  EXPECT_EQ(Narrow(product), about::kVersion);

  HMODULE image = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  EXPECT_NE(::FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
  ::FreeLibrary(image);
}

TEST(Package, StartsFromTheUnpackedFolderAndKeepsTheLanguageItRecords) {
  if (!HaveDisplay()) GTEST_SKIP() << "no display";
  const std::string german = ReadAll(kPackage + "\\data\\lang\\De.dat");
  ASSERT_GE(platform::SplitTextLines(german).size(),
            static_cast<std::size_t>(lang::kLanguageTextCount));
  const lang::LanguageTexts de = lang::ParseLanguageFile(german, "De");
  {
    Unpacked program;
    HWND language = program.WaitForWindow(L"TFrmlang");
    ASSERT_NE(language, nullptr);
    ChooseComboLine(FindChild(language, L"ComboBox"), 1);  // Deutsch
    ::PostMessageW(FindChild(language, L"Button", "&OK"), BM_CLICK, 0, 0);
    HWND main = program.WaitForWindow(L"TFrmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_NE(FindChild(main, L"Button", de[lang::Text::kDelete]), nullptr);
    EXPECT_EQ(program.CloseAndWait(main), 0);
  }
  EXPECT_EQ(ReadAll(kPackage + "\\data\\lang\\whichlang.dat"), std::string("\x02"
                                                                           "De\x01",
                                                                           4));
  Unpacked again;
  HWND main = again.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(again.WaitForWindow(L"TFrmlang", 0), nullptr);
  const std::vector<std::string> texts = ChildTexts(main);
  using lang::Text;
  for (Text text :
       {Text::kDelete, Text::kOptions, Text::kDeleteGroup, Text::kAllDrives, Text::kClose}) {
    const std::string& caption = de[text];
    EXPECT_NE(std::find(texts.begin(), texts.end(), caption), texts.end()) << caption;
  }
  EXPECT_EQ(again.CloseAndWait(main), 0);
}

}  // namespace
}  // namespace testing_program
