// What the benchmark needs from one backend: its System and ui, a place for the tree, the floor
// walk, and a way to press a button from outside the walk. The sim is portable; the backends a
// build offers are picked by CMake (backends_host.cpp, backends_windows.cpp).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "bench/tree.h"
#include "platform/system.h"
#include "platform/ui/button.h"
#include "platform/ui/peer.h"

namespace bench {

using Clock = std::chrono::steady_clock;

struct WalkCount {
  std::uint64_t entries = 0;
  std::uint64_t folders = 0;
};

// A press of a button that comes from outside the walk, as the user's click does.
class Press {
 public:
  virtual ~Press() = default;
  // Called once the walk has returned: true, with the moment of the press, when it came before;
  // a press not yet made by then is called off.
  virtual bool Finish(Clock::time_point& pressedAt) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::string Name() const = 0;
  virtual platform::System& System() = 0;
  virtual ui::Backend& Ui() = 0;
  // Writes the tree into a new folder of this name at the root of the backend's drive and returns
  // it (with a final backslash); empty when it could not be written.
  virtual std::string Build(const Tree& tree, const std::string& folder) = 0;
  // The floor: lists every folder below `root` once, in the backend's fastest way, and does
  // nothing else.
  virtual WalkCount BareWalk(const std::string& root) = 0;
  // The floor of a removal: lists every folder below `root` once and deletes its files, and with
  // `folders` removes the folders too (bottom up, `root` itself stays), and does nothing else.
  virtual WalkCount BareRemove(const std::string& root, bool folders) = 0;
  // The shell's own floor for the recycle bin: one listing per folder, its files handed to the
  // shell `batch` at a time, nothing else. Zero entries where the backend has no shell.
  virtual WalkCount BareRecycle(const std::string& root, std::size_t batch) = 0;
  // Presses `button` after `delay` while the caller walks; null when the backend has no input
  // from outside the thread.
  virtual std::unique_ptr<Press> PressLater(ui::Button& button, Clock::duration delay) = 0;
};

// Lists every folder below `root` once through System::ListFolder, and does nothing else.
WalkCount WalkThroughSystem(platform::System& system, const std::string& root);
// The removal floor through System: one listing per folder, then DeleteFile and RemoveFolder.
WalkCount RemoveThroughSystem(platform::System& system, const std::string& root, bool folders);

// The in-memory backend; the tree goes onto its fixed drive E:.
std::unique_ptr<Backend> MakeSimBackend();

// The backend of this name that the build offers, or null.
std::unique_ptr<Backend> MakeBackend(const std::string& name);
// The backend a run takes when none is named: the real one where the build has it.
std::string DefaultBackendName();

}  // namespace bench
