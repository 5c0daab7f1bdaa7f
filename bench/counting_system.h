// A System that forwards every call to another and counts the folder listings and single-path
// look-ups, so that the benchmark can report them for any backend, the real one included.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace bench {

class CountingSystem final : public platform::System {
 public:
  explicit CountingSystem(platform::System& inner) : inner_(inner) {}

  std::uint64_t Listings() const { return listings_; }
  std::uint64_t LookUps() const { return lookUps_; }
  void ResetCounts() { listings_ = lookUps_ = 0; }

  bool ListFolder(std::string_view folder,
                  platform::FunctionRef<bool(const platform::DirEntry&)> visit) override {
    ++listings_;
    return inner_.ListFolder(folder, visit);
  }
  std::optional<platform::DirEntry> LookUp(std::string_view path) override {
    ++lookUps_;
    return inner_.LookUp(path);
  }

  platform::ReadResult ReadFile(std::string_view path, platform::FileAccess access) override {
    return inner_.ReadFile(path, access);
  }
  bool WriteFile(std::string_view path, std::string_view bytes) override {
    return inner_.WriteFile(path, bytes);
  }
  bool ReplaceFile(std::string_view from, std::string_view to) override {
    return inner_.ReplaceFile(from, to);
  }
  bool DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
  bool RemoveFolder(std::string_view path) override { return inner_.RemoveFolder(path); }
  bool MoveToRecycleBin(std::string_view path) override { return inner_.MoveToRecycleBin(path); }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  platform::DriveType GetDriveType(std::string_view drive) override {
    return inner_.GetDriveType(drive);
  }
  std::vector<platform::DriveInfo> Drives() override { return inner_.Drives(); }
  bool IsAdministrator() override { return inner_.IsAdministrator(); }
  std::uint32_t RegisterWindowMessage(std::string_view name) override {
    return inner_.RegisterWindowMessage(name);
  }
  std::unique_ptr<platform::NamedSemaphore> CreateNamedSemaphore(std::string_view name,
                                                                 bool& alreadyExisted) override {
    return inner_.CreateNamedSemaphore(name, alreadyExisted);
  }
  void BroadcastMessage(std::uint32_t message) override { inner_.BroadcastMessage(message); }
  std::string TempFolder() override { return inner_.TempFolder(); }
  std::string WindowsFolder() override { return inner_.WindowsFolder(); }
  std::string SpecialFolder(int csidl) override { return inner_.SpecialFolder(csidl); }
  std::string FullPathName(std::string_view path) override { return inner_.FullPathName(path); }
  std::unique_ptr<platform::RegistryKey> OpenRegistryKey(platform::RegistryRoot root,
                                                         std::string_view path) override {
    return inner_.OpenRegistryKey(root, path);
  }
  void ListUrlCache(platform::FunctionRef<bool(const std::string& sourceUrl)> visit) override {
    inner_.ListUrlCache(visit);
  }
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override {
    return inner_.DeleteUrlCacheItem(sourceUrl);
  }
  void ShellOpen(std::string_view target) override { inner_.ShellOpen(target); }
  void EmptyRecycleBin() override { inner_.EmptyRecycleBin(); }
  void ClearRecentDocuments() override { inner_.ClearRecentDocuments(); }

 private:
  platform::System& inner_;
  std::uint64_t listings_ = 0;
  std::uint64_t lookUps_ = 0;
};

}  // namespace bench
