// A System that forwards every call to another one, so that a decorator overrides only the
// calls it changes (counting, injecting failures) and passes the rest through untouched.
#pragma once

#include "platform/system.h"

namespace platform {

class ProxySystem : public System {
 public:
  explicit ProxySystem(System& inner) : inner_(inner) {}

  ReadResult ReadFile(std::string_view path, FileAccess access) override {
    return inner_.ReadFile(path, access);
  }
  bool WriteFile(std::string_view path, std::string_view bytes) override {
    return inner_.WriteFile(path, bytes);
  }
  bool ReplaceFile(std::string_view from, std::string_view to) override {
    return inner_.ReplaceFile(from, to);
  }
  bool DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
  bool WriteNewFile(std::string_view path, std::string_view bytes) override {
    return inner_.WriteNewFile(path, bytes);
  }
  std::optional<std::string> ReadFileStart(std::string_view path, std::size_t count) override {
    return inner_.ReadFileStart(path, count);
  }
  bool RemoveFolder(std::string_view path) override { return inner_.RemoveFolder(path); }
  bool CreateFolder(std::string_view path) override { return inner_.CreateFolder(path); }
  Recycled MoveToRecycleBin(std::string_view path) override {
    return inner_.MoveToRecycleBin(path);
  }
  void MoveAllToRecycleBin(std::span<const std::string> paths,
                           std::vector<Recycled>& results) override {
    inner_.MoveAllToRecycleBin(paths, results);
  }

  bool ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) override {
    return inner_.ListFolder(folder, visit);
  }
  std::optional<DirEntry> LookUp(std::string_view path) override { return inner_.LookUp(path); }
  std::optional<FileStatus> Status(std::string_view path) override { return inner_.Status(path); }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  std::string FinalPath(std::string_view path) override { return inner_.FinalPath(path); }

  DriveType GetDriveType(std::string_view drive) override { return inner_.GetDriveType(drive); }
  std::vector<DriveInfo> Drives() override { return inner_.Drives(); }
  bool IsHostRootDrive(char letter) override { return inner_.IsHostRootDrive(letter); }
  std::optional<std::uint64_t> UsedSpace(char letter) override { return inner_.UsedSpace(letter); }
  bool IsAdministrator() override { return inner_.IsAdministrator(); }
  std::string UserSid() override { return inner_.UserSid(); }
  bool ProcessRunning(std::string_view programFile) override {
    return inner_.ProcessRunning(programFile);
  }

  std::uint32_t RegisterWindowMessage(std::string_view name) override {
    return inner_.RegisterWindowMessage(name);
  }
  std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(std::string_view name,
                                                       bool& alreadyExisted) override {
    return inner_.CreateNamedSemaphore(name, alreadyExisted);
  }
  void BroadcastMessage(std::uint32_t message) override { inner_.BroadcastMessage(message); }

  std::string TempFolder() override { return inner_.TempFolder(); }
  std::uint64_t CurrentTime() override { return inner_.CurrentTime(); }
  std::optional<std::string> EnvironmentVariable(std::string_view name) override {
    return inner_.EnvironmentVariable(name);
  }
  std::string ProgramFolder() override { return inner_.ProgramFolder(); }
  std::string WindowsFolder() override { return inner_.WindowsFolder(); }
  std::string SpecialFolder(int csidl) override { return inner_.SpecialFolder(csidl); }
  std::string FullPathName(std::string_view path) override { return inner_.FullPathName(path); }

  std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, std::string_view path) override {
    return inner_.OpenRegistryKey(root, path);
  }

  bool RegistryKeyExists(RegistryRoot root, std::string_view path) override {
    return inner_.RegistryKeyExists(root, path);
  }
  std::optional<WindowsVersion> GetWindowsVersion() override { return inner_.GetWindowsVersion(); }

  void ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) override {
    inner_.ListUrlCache(visit);
  }
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override {
    return inner_.DeleteUrlCacheItem(sourceUrl);
  }

  void ShellOpen(std::string_view target) override { inner_.ShellOpen(target); }
  void EmptyRecycleBin() override { inner_.EmptyRecycleBin(); }
  std::optional<RecycleBinContent> QueryRecycleBin() override { return inner_.QueryRecycleBin(); }
  void ClearRecentDocuments() override { inner_.ClearRecentDocuments(); }

 protected:
  System& Inner() const { return inner_; }

 private:
  System& inner_;
};

}  // namespace platform
