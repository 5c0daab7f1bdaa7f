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

  std::string Build(const Tree& tree, const std::string& folder) override {
    const std::string root = "E:\\" + folder + "\\";
    if (sim_.Exists(root)) return {};
    SimTreeWriter writer(sim_);
    sim_.AddFolder(root);
    return WriteTree(tree, root, writer) ? root : "";
  }

  WalkCount BareWalk(const std::string& root) override { return WalkThroughSystem(sim_, root); }
  WalkCount BareRemove(const std::string& root, bool folders) override {
    return RemoveThroughSystem(sim_, root, folders);
  }
  WalkCount BareRecycle(const std::string&, std::size_t) override { return {}; }

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

WalkCount RemoveThroughSystem(platform::System& system, const std::string& root, bool folders) {
  WalkCount count;
  std::vector<platform::DirEntry> entries;
  system.ListFolder(root, [&](const platform::DirEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  ++count.folders;
  for (const platform::DirEntry& entry : entries) {
    ++count.entries;
    const std::string path = root + entry.name;
    if (!entry.IsDirectory()) {
      system.DeleteFile(path);
    } else if (!entry.IsReparsePoint()) {
      const WalkCount below = RemoveThroughSystem(system, path + '\\', folders);
      count.entries += below.entries;
      count.folders += below.folders;
      if (folders) system.RemoveFolder(path);
    }
  }
  return count;
}

std::unique_ptr<Backend> MakeSimBackend() {
  return std::make_unique<SimBackend>();
}

}  // namespace bench
