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
    sim_.SetAdministrator(true);
  }

  platform::System& System() override { return sim_; }
  const std::string& Root() const override { return root_; }
  void MakeFolder(std::string_view path) override { sim_.AddFolder(path); }
  void MakeFile(std::string_view path, std::string_view content,
                std::uint32_t attributes) override {
    sim_.AddFile(path, content, attributes);
  }
  bool Exists(std::string_view path) override { return sim_.Exists(path); }
  std::string ContentOf(std::string_view path) override {
    return sim_.Content(path).value_or("<missing>");
  }
  void HoldOpen(std::string_view path) override { sim_.SetInUse(path); }
  void SetCurrentDirectory(std::string_view path) override { sim_.SetCurrentDirectory(path); }
  std::string FixtureLink() const override { return "T:\\fixtures\\link"; }
  std::vector<DriveCase> DriveCases() const override {
    return {{"T:", DriveType::kFixed},
            {"R:\\", DriveType::kRemovable},
            {"N:", DriveType::kRemote},
            {"Q:", DriveType::kNoRootDir}};
  }
  bool ExpectAdministrator() const override { return true; }
  bool LinksAreRemovable() const override { return true; }

 private:
  SimSystem sim_;
  std::string root_ = "T:\\contract";
};

}  // namespace

std::unique_ptr<ContractWorld> MakeSimWorld() {
  return std::make_unique<SimWorld>();
}

}  // namespace testing_world
