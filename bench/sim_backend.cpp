// The in-memory backend: the tree lives in a SimSystem, the ui is headless, and its listing costs
// next to nothing, so that the scan's own work per entry shows.
#include <vector>

#include "bench/backend.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"

namespace bench {

namespace {

class SimTreeWriter final : public TreeWriter {
 public:
  explicit SimTreeWriter(platform::sim::SimSystem& sim) : sim_(sim) {}
  bool MakeFolder(const std::string& path, std::uint32_t attributes) override {
    sim_.AddFolder(path, attributes);
    return true;
  }
  bool MakeFile(const std::string& path, std::uint64_t size, std::uint32_t attributes) override {
    sim_.AddFileOfSize(path, size, attributes);
    return true;
  }

 private:
  platform::sim::SimSystem& sim_;
};

class SimBackend final : public Backend {
 public:
  SimBackend() { sim_.AddDrive('E', platform::DriveType::kFixed, "Bench"); }

  std::string Name() const override { return "sim"; }
  platform::System& System() override { return sim_; }
  ui::Backend& Ui() override { return ui_; }

  std::string Build(const Tree& tree) override {
    SimTreeWriter writer(sim_);
    return WriteTree(tree, "E:\\", writer) ? "E:\\" : "";
  }

  WalkCount BareWalk(const std::string& root) override { return WalkThroughSystem(sim_, root); }

  // The headless ui takes input only from the thread that runs it.
  std::unique_ptr<Press> PressLater(ui::Button&, Clock::duration) override { return nullptr; }

 private:
  platform::sim::SimSystem sim_;
  platform::sim::SimUi ui_;
};

void Walk(platform::System& system, const std::string& folder, WalkCount& count,
          std::vector<std::string>& pending) {
  const std::size_t first = pending.size();
  system.ListFolder(folder, [&](const platform::DirEntry& entry) {
    ++count.entries;
    if (entry.IsDirectory() && !entry.IsReparsePoint()) pending.push_back(entry.name);
    return true;
  });
  ++count.folders;
  const std::size_t last = pending.size();
  for (std::size_t i = first; i < last; ++i) {
    Walk(system, folder + pending[i] + '\\', count, pending);
  }
  pending.resize(first);
}

}  // namespace

WalkCount WalkThroughSystem(platform::System& system, const std::string& root) {
  WalkCount count;
  std::vector<std::string> pending;
  Walk(system, root, count, pending);
  return count;
}

std::unique_ptr<Backend> MakeSimBackend() {
  return std::make_unique<SimBackend>();
}

}  // namespace bench
