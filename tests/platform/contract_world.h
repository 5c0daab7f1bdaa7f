// A place where the System contract runs: the sim, or the real file system of a sandboxed Wine
// prefix. Seeding goes through the world (test-side code), never through System.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
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
  virtual std::string ContentOf(std::string_view path) = 0;
  // Keeps the file open without sharing, so that deleting or replacing it fails.
  virtual void HoldOpen(std::string_view path) = 0;
  virtual void SetCurrentDirectory(std::string_view path) = 0;

  // A link to a folder outside Root() that holds keep.txt.
  virtual std::string FixtureLink() const = 0;
  struct DriveCase {
    std::string drive;
    platform::DriveType type;
  };
  virtual std::vector<DriveCase> DriveCases() const = 0;
  virtual bool ExpectAdministrator() const = 0;
  // Wine cannot remove a link that leads out of its drive (a host symlink); Windows can.
  virtual bool LinksAreRemovable() const = 0;
};

using WorldFactory = std::function<std::unique_ptr<ContractWorld>()>;

// The sim's world; the win32 world lives with the Windows tests.
std::unique_ptr<ContractWorld> MakeSimWorld();

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

}  // namespace testing_world
