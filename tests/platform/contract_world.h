// A place where the System contract runs: the sim, or the real file system of a sandboxed Wine
// prefix. Seeding goes through the world (test-side code), never through System.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/system.h"

namespace testing_world {

class ContractWorld {
 public:
  virtual ~ContractWorld() = default;

  virtual platform::System& System() = 0;
  // An empty folder of this test's own, absolute, without a final backslash.
  virtual const std::string& Root() const = 0;

  virtual void MakeFolder(std::string_view path) = 0;
  virtual void MakeFile(std::string_view path, std::string_view content,
                        std::uint32_t attributes = 0) = 0;
  virtual bool Exists(std::string_view path) = 0;
  // Removes a file, or a folder with everything in it (links as links).
  virtual void RemoveTree(std::string_view path) = 0;
  virtual std::string ContentOf(std::string_view path) = 0;
  // Keeps the file open without sharing, so that deleting or replacing it fails.
  virtual void HoldOpen(std::string_view path) = 0;
  virtual void SetCurrentDirectory(std::string_view path) = 0;

  // The folder the files handed to the tests lie in (beside the Windows test program); empty
  // where there is none (the sim).
  virtual std::string TestFilesFolder() const = 0;
  // A link to a folder outside Root() that holds keep.txt.
  virtual std::string FixtureLink() const = 0;
  // A link to that keep.txt (content "keep") that looks like a plain file, as Wine shows a host
  // symlink to a file.
  virtual std::string FixtureFileLink() const = 0;
  struct DriveCase {
    std::string drive;
    platform::DriveType type;
  };
  virtual std::vector<DriveCase> DriveCases() const = 0;
  virtual bool ExpectAdministrator() const = 0;
  // A process of this program file runs from now until StopPrograms or the world's end.
  virtual void StartProgram(std::string_view programFile) = 0;
  virtual void StopPrograms() = 0;
  // Wine cannot remove a link that leads out of its drive (a host symlink); Windows can.
  virtual bool LinksAreRemovable() const = 0;

  // --- System folders, registry, URL cache and shell lists
  // Makes this folder the system's temporary folder (TMP on Windows).
  virtual void SetTempFolder(std::string_view path) = 0;
  // The Windows folder and shell folders as the world knows them (seeded on the sim, asked
  // through another API on Windows); empty for a folder the system lacks.
  virtual std::string ExpectedWindowsFolder() = 0;
  virtual std::string ExpectedSpecialFolder(int csidl) = 0;
  // A registry key path of this test's own, below Software; removed afterwards from every root
  // (below .DEFAULT in HKEY_USERS).
  virtual const std::string& RegistryTestKey() const = 0;
  // Creates the key when missing and sets the value.
  virtual void SetRegistryValue(platform::RegistryRoot root, std::string_view key,
                                std::string_view name, const platform::RegistryValue& value) = 0;
  virtual bool RegistryKeyExists(platform::RegistryRoot root, std::string_view key) = 0;
  virtual bool RegistryValueExists(platform::RegistryRoot root, std::string_view key,
                                   std::string_view name) = 0;
  // A committed content entry of the URL cache; removed afterwards.
  virtual void AddUrlCacheEntry(std::string_view url) = 0;
  // Keeps the entry's file locked by a reader, so that deleting the entry fails.
  virtual void LockUrlCacheEntry(std::string_view url) = 0;
  virtual bool UrlCacheHas(std::string_view url) = 0;
  virtual std::int64_t RecycleBinItems() = 0;
  virtual void AddRecentDocument(std::string_view path) = 0;
  // How much the shell's recent-documents list holds; 0 when it is clear.
  virtual int RecentDocumentCount() = 0;
};

using WorldFactory = std::function<std::unique_ptr<ContractWorld>()>;

// The sim's world; the win32 world lives with the Windows tests.
std::unique_ptr<ContractWorld> MakeSimWorld();

// A file handed to the tests: beside the Windows test program, else (host builds) from the
// sources, `inSources` relative to their root; nothing when it is in neither place.
std::optional<std::string> TestFile(ContractWorld& world, std::string_view beside,
                                    std::string_view inSources);

// Suites that run the same cases in every world.
class WorldTest : public ::testing::TestWithParam<WorldFactory> {
 protected:
  void SetUp() override { world_ = GetParam()(); }
  ContractWorld& World() { return *world_; }
  platform::System& Sys() { return world_->System(); }
  std::string At(std::string_view relative) const {
    return world_->Root() + "\\" + std::string(relative);
  }

 private:
  std::unique_ptr<ContractWorld> world_;
};

class SystemContract : public WorldTest {};
class SettingsContract : public WorldTest {};
class RulesContract : public WorldTest {};

}  // namespace testing_world
