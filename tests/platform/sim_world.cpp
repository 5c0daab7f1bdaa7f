#include <algorithm>
#include <map>

#include "platform/sim/sim_system.h"
#include "tests/platform/contract_world.h"

namespace testing_world {

namespace {

using platform::DriveType;
using platform::sim::SimSystem;

class SimWorld final : public ContractWorld {
 public:
  SimWorld() {
    sim_.AddDrive('C', DriveType::kFixed, "System");
    sim_.AddDrive('T', DriveType::kFixed, "Test");
    sim_.AddDrive('R', DriveType::kRemovable);
    sim_.AddDrive('N', DriveType::kRemote);
    sim_.AddFolder(root_);
    sim_.AddFile("C:\\outside\\keep.txt", "keep");
    sim_.AddFolderLink("T:\\fixtures\\link", "C:\\outside");
    sim_.AddFileLink("T:\\fixtures\\filelink.tmp", "C:\\outside\\keep.txt");
    sim_.SetAdministrator(true);
    sim_.AddFolder("C:\\Windows");
    sim_.SetWindowsFolder("C:\\Windows");
    for (const auto& [csidl, path] : specialFolders_) {
      sim_.AddFolder(path);
      sim_.SetSpecialFolder(csidl, path);
    }
  }

  platform::System& System() override { return sim_; }
  const std::string& Root() const override { return root_; }
  void MakeFolder(std::string_view path) override { sim_.AddFolder(path); }
  void MakeFile(std::string_view path, std::string_view content,
                std::uint32_t attributes) override {
    sim_.AddFile(path, content, attributes);
  }
  bool Exists(std::string_view path) override { return sim_.Exists(path); }
  void RemoveTree(std::string_view path) override { sim_.RemoveEntry(path); }
  std::string ContentOf(std::string_view path) override {
    return sim_.Content(path).value_or("<missing>");
  }
  void HoldOpen(std::string_view path) override { sim_.SetInUse(path); }
  void SetCurrentDirectory(std::string_view path) override { sim_.SetCurrentDirectory(path); }
  std::string TestFilesFolder() const override { return {}; }
  std::string FixtureLink() const override { return "T:\\fixtures\\link"; }
  std::string FixtureFileLink() const override { return "T:\\fixtures\\filelink.tmp"; }
  std::vector<DriveCase> DriveCases() const override {
    return {{"T:", DriveType::kFixed},
            {"R:\\", DriveType::kRemovable},
            {"N:", DriveType::kRemote},
            {"Q:", DriveType::kNoRootDir}};
  }
  bool ExpectAdministrator() const override { return true; }
  void StartProgram(std::string_view programFile) override {
    sim_.SetRunning(programFile);
    started_.emplace_back(programFile);
  }
  void StopPrograms() override {
    for (const std::string& program : started_)
      sim_.SetRunning(program, false);
    started_.clear();
  }
  bool LinksAreRemovable() const override { return true; }

  void SetTempFolder(std::string_view path) override {
    sim_.SetTempFolder(std::string(path));
    sim_.SetEnvironmentVariable("TMP", std::string(path));
  }
  std::string ExpectedWindowsFolder() override { return "C:\\Windows"; }
  std::string ExpectedSpecialFolder(int csidl) override {
    auto found = specialFolders_.find(csidl);
    return found == specialFolders_.end() ? std::string() : found->second;
  }
  const std::string& RegistryTestKey() const override { return registryKey_; }
  void SetRegistryValue(platform::RegistryRoot root, std::string_view key, std::string_view name,
                        const platform::RegistryValue& value) override {
    sim_.SetRegistryValue(root, key, name, value);
  }
  bool RegistryKeyExists(platform::RegistryRoot root, std::string_view key) override {
    return sim_.HasRegistryKey(root, key);
  }
  bool RegistryValueExists(platform::RegistryRoot root, std::string_view key,
                           std::string_view name) override {
    return sim_.RegistryValueOf(root, key, name).has_value();
  }
  void AddUrlCacheEntry(std::string_view url) override { sim_.AddUrlCacheEntry(std::string(url)); }
  void LockUrlCacheEntry(std::string_view url) override {
    sim_.AddUrlCacheEntry(std::string(url), true);
  }
  bool UrlCacheHas(std::string_view url) override {
    const std::vector<std::string> urls = sim_.UrlCacheUrls();
    return std::find(urls.begin(), urls.end(), url) != urls.end();
  }
  std::int64_t RecycleBinItems() override {
    return static_cast<std::int64_t>(sim_.RecycleBinPaths().size());
  }
  void AddRecentDocument(std::string_view path) override {
    sim_.AddRecentDocument(std::string(path));
  }
  int RecentDocumentCount() override { return static_cast<int>(sim_.RecentDocuments().size()); }

 private:
  SimSystem sim_;
  std::vector<std::string> started_;
  std::string root_ = "T:\\contract";
  std::string registryKey_ = "Software\\Dustorix contract";
  const std::map<int, std::string> specialFolders_ = {
      {platform::csidl::kFavorites, "C:\\Users\\tester\\Favorites"},
      {platform::csidl::kRecent, "C:\\Users\\tester\\AppData\\Roaming\\Recent"},
      {platform::csidl::kAppData, "C:\\Users\\tester\\AppData\\Roaming"},
      {platform::csidl::kCommonFavorites, "C:\\Users\\Public\\Favorites"},
      {platform::csidl::kInternetCache, "C:\\Users\\tester\\AppData\\Local\\INetCache"},
      {platform::csidl::kCookies, "C:\\Users\\tester\\AppData\\Local\\INetCookies"},
      {platform::csidl::kHistory, "C:\\Users\\tester\\AppData\\Local\\History"},
      {platform::csidl::kLocalAppData, "C:\\Users\\tester\\AppData\\Local"},
      {platform::csidl::kProfile, "C:\\Users\\tester"},
      {platform::csidl::kCommonAppData, "C:\\ProgramData"},
      {platform::csidl::kProgramFiles, "C:\\Program Files"},
      {platform::csidl::kProgramFilesX86, "C:\\Program Files (x86)"}};
};

}  // namespace

std::unique_ptr<ContractWorld> MakeSimWorld() {
  return std::make_unique<SimWorld>();
}

}  // namespace testing_world
