// Failures injected into the calls a program makes on the sim: a decorator the program runs
// against, which refuses the chosen calls and leaves the traces another program or a full disk
// would have left on the sim. With no failure set it passes every call through.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/proxy_system.h"
#include "platform/sim/operations.h"
#include "platform/sim/sim_system.h"

namespace platform::sim {

// How an injected failure looks from the program. Each makes the call fail the way its
// interface reports failures (false, empty, nothing done); some leave a trace as well.
enum class Fault {
  kAccessDenied,      // the call fails, nothing changes
  kSharingViolation,  // another program holds the entry open from now on: later calls fail too
  kVanished,          // another program removed the entry (with its contents) just before
  kPathTooLong,       // the call fails; a read reports no missing file but an error
  kDiskFull,          // a write stops half way, leaving a truncated file; other calls just fail
};

// The name of a fault, for test messages.
const char* NameOf(Fault fault);

class FaultInjector final : public ProxySystem {
 public:
  explicit FaultInjector(SimSystem& sim) : ProxySystem(sim), sim_(sim) {}

  // The n-th call (1-based, counted from now) of `op` fails. A failing WriteFile writes half of
  // the bytes first, as a full disk would; other calls are refused.
  void FailNthCall(Op op, int n);
  void FailNthCall(Op op, int n, Fault fault);
  // Every call of `op` on exactly this path fails.
  void FailPath(Op op, std::string_view path);
  void ClearFailures();
  // Whether an injected n-th call failure has fired since it was set.
  bool InjectedFailureFired() const { return failureFired_; }
  // The entries that faults of kind kVanished removed, each with all it held then, in order;
  // absolute and case-folded.
  const std::vector<std::string>& VanishedPaths() const { return vanished_; }

  ReadResult ReadFile(std::string_view path, FileAccess access) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool ReplaceFile(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool WriteNewFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::string> ReadFileStart(std::string_view path, std::size_t count) override;
  bool RemoveFolder(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  Recycled MoveToRecycleBin(std::string_view path) override;
  // Item by item, so that each can fail.
  void MoveAllToRecycleBin(std::span<const std::string> paths,
                           std::vector<Recycled>& results) override {
    System::MoveAllToRecycleBin(paths, results);
  }
  bool ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) override;
  std::optional<DirEntry> LookUp(std::string_view path) override;
  std::optional<FileStatus> Status(std::string_view path) override;
  std::string CurrentDirectory() override;
  std::string FinalPath(std::string_view path) override;
  DriveType GetDriveType(std::string_view drive) override;
  std::vector<DriveInfo> Drives() override;
  bool IsHostRootDrive(char letter) override;
  bool IsAdministrator() override;
  bool ProcessRunning(std::string_view programFile) override;
  std::uint32_t RegisterWindowMessage(std::string_view name) override;
  std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(std::string_view name,
                                                       bool& alreadyExisted) override;
  void BroadcastMessage(std::uint32_t message) override;
  std::string TempFolder() override;
  std::optional<std::string> EnvironmentVariable(std::string_view name) override;
  std::string ProgramFolder() override;
  std::string WindowsFolder() override;
  std::string SpecialFolder(int csidl) override;
  std::string FullPathName(std::string_view path) override;
  std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, std::string_view path) override;
  bool RegistryKeyExists(RegistryRoot root, std::string_view path) override;
  std::optional<WindowsVersion> GetWindowsVersion() override;
  void ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) override;
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override;
  void ShellOpen(std::string_view target) override;
  void EmptyRecycleBin() override;
  std::optional<RecycleBinContent> QueryRecycleBin() override;
  void ClearRecentDocuments() override;

 private:
  class Key;

  // Tells whether this call is to fail, and how. A fault that leaves a trace (a vanished or
  // held-open entry at `path`) has left it when this returns.
  std::optional<Fault> Inject(Op op, std::string_view path = {});
  // The same, where the entry that vanishes is another one than the path matched: a replace is
  // matched on its target, which may be held open, but its source is what can vanish.
  std::optional<Fault> Inject(Op op, std::string_view path, std::string_view subject);

  SimSystem& sim_;
  std::array<int, static_cast<int>(Op::kCount)> failAt_{};  // 0: none
  std::array<Fault, static_cast<int>(Op::kCount)> failKind_{};
  std::vector<std::pair<Op, std::string>> failPaths_;
  bool failureFired_ = false;
  std::vector<std::string> vanished_;
};

}  // namespace platform::sim
