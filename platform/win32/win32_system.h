// The real operating system: Win32 W functions behind the System interface.
#pragma once

#include "platform/win32/win.h"

#include "platform/system.h"

namespace platform::win32 {

// A FILETIME as one count of 100-ns steps.
inline std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class Win32System final : public System {
 public:
  ReadResult ReadFile(std::string_view path, FileAccess access) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool ReplaceFile(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool WriteNewFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::string> ReadFileStart(std::string_view path, std::size_t count) override;
  bool RemoveFolder(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  Recycled MoveToRecycleBin(std::string_view path) override;
  void MoveAllToRecycleBin(std::span<const std::string> paths,
                           std::vector<Recycled>& results) override;
  bool ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) override;
  std::optional<DirEntry> LookUp(std::string_view path) override;
  std::optional<FileStatus> Status(std::string_view path) override;
  std::string CurrentDirectory() override;
  std::string FinalPath(std::string_view path) override;
  DriveType GetDriveType(std::string_view drive) override;
  std::vector<DriveInfo> Drives() override;
  bool IsHostRootDrive(char letter) override;
  std::optional<std::uint64_t> UsedSpace(char letter) override;
  bool IsAdministrator() override;
  std::string UserSid() override;
  bool ProcessRunning(std::string_view programFile) override;
  std::uint32_t RegisterWindowMessage(std::string_view name) override;
  std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(std::string_view name,
                                                       bool& alreadyExisted) override;
  void BroadcastMessage(std::uint32_t message) override;
  void ShellOpen(std::string_view target) override;
  std::string TempFolder() override;
  std::optional<std::string> EnvironmentVariable(std::string_view name) override;
  std::uint64_t CurrentTime() override;
  std::string ProgramFolder() override;
  std::string WindowsFolder() override;
  std::string SpecialFolder(int csidl) override;
  std::string FullPathName(std::string_view path) override;
  std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, std::string_view path) override;
  bool RegistryKeyExists(RegistryRoot root, std::string_view path) override;
  std::optional<WindowsVersion> GetWindowsVersion() override;
  void ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) override;
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override;
  void EmptyRecycleBin() override;
  std::optional<RecycleBinContent> QueryRecycleBin() override;
  void ClearRecentDocuments() override;
};

}  // namespace platform::win32
