// The contract's world on the real file system: the sandbox's test drive T:.
#include <atomic>

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"
#include "tests/platform/contract_world.h"

namespace testing_world {

namespace {

using platform::DriveType;
using platform::win32::UniqueHandle;
using platform::win32::VerbatimPath;

std::wstring Wide(std::string_view path) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) ADD_FAILURE() << "bad path " << path;
  return wide.value_or(L"");
}

class Win32World final : public ContractWorld {
 public:
  Win32World() {
    static std::atomic<int> counter{0};
    root_ =
        "T:\\contract-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
    MakeFolder(root_);
  }
  ~Win32World() override {
    ::SetCurrentDirectoryW(L"C:\\");  // a test may have moved it into the tree
  }

  platform::System& System() override { return system_; }
  const std::string& Root() const override { return root_; }

  void MakeFolder(std::string_view path) override {
    std::string partial;
    for (size_t at = 0; at != std::string_view::npos;) {
      at = path.find('\\', at + 1);
      partial = std::string(path.substr(0, at));
      if (partial.size() > 2) ::CreateDirectoryW(Wide(partial).c_str(), nullptr);
    }
    ASSERT_TRUE(Exists(path)) << path;
  }

  void MakeFile(std::string_view path, std::string_view content,
                std::uint32_t attributes) override {
    MakeFolder(path.substr(0, path.rfind('\\')));
    const std::wstring wide = Wide(path);
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()),
                            &written, nullptr));
    file.Reset();
    if (attributes) {
      ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), attributes));
    }
  }

  bool Exists(std::string_view path) override {
    return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::string ContentOf(std::string_view path) override {
    platform::ReadResult read = system_.ReadFile(path, platform::FileAccess::kRead);
    return read.bytes.value_or("<missing>");
  }

  void HoldOpen(std::string_view path) override {
    UniqueHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    held_.push_back(std::move(file));
  }

  void SetCurrentDirectory(std::string_view path) override {
    std::optional<std::wstring> wide = platform::win32::Widen(path);
    ASSERT_TRUE(wide && ::SetCurrentDirectoryW(wide->c_str())) << path;
  }

  std::string FixtureLink() const override { return "T:\\fixtures\\link"; }

  std::vector<DriveCase> DriveCases() const override {
    return {{"T:", DriveType::kFixed},
            {"R:\\", DriveType::kRemovable},
            {"N:", DriveType::kRemote},
            {"Q:", DriveType::kNoRootDir}};
  }
  // Wine's user token holds the Administrators group.
  bool ExpectAdministrator() const override { return true; }
  bool LinksAreRemovable() const override { return false; }

 private:
  platform::win32::Win32System system_;
  std::string root_;
  std::vector<UniqueHandle> held_;
};

std::unique_ptr<ContractWorld> MakeWin32World() {
  return std::make_unique<Win32World>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, SystemContract, ::testing::Values(WorldFactory(&MakeWin32World)));
INSTANTIATE_TEST_SUITE_P(Win32, SettingsContract, ::testing::Values(WorldFactory(&MakeWin32World)));

}  // namespace testing_world
